#!/usr/bin/env bash
# Runs a command on a private X server with a private, empty home and configuration
# directory, and fails when the command wrote anything there (the editor keeps no settings).
#   under_xvfb.sh COMMAND [ARGS...]
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/xvfb.sh"
require_tools Xvfb xdotool
start_xvfb

mkdir -p "$work/home/.config" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
"$@"
written=$(find "$work/home" -type f)
[ -z "$written" ] || fail "written to the private home: $written"
