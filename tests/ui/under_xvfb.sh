#!/usr/bin/env bash
# Runs a command on a private X server with a private, empty home and configuration
# directory, and fails when the command wrote anything there (the editor keeps no settings).
#   under_xvfb.sh COMMAND [ARGS...]
# Exits 77 (skipped) when Xvfb is missing.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
here=$(dirname "$(realpath "$0")")
source "$here/private_xvfb.sh"

work=$(mktemp -d)
xvfb_pid=""
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
start_private_xvfb "$work" || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }

mkdir -p "$work/home/.config" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
"$@"
written=$(find "$work/home" -type f)
if [ -n "$written" ]; then
  echo "FAIL: written to the private home: $written"
  exit 1
fi
