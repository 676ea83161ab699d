#!/usr/bin/env bash
# The editor's --help and --version: printed on standard output, nothing on standard error,
# exit status 0, without any display (no X server, no Wayland, no offscreen platform).
#   help_and_version_test.sh EDITOR VERSION
set -uo pipefail

editor=$1
version=$2
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
failed=0
# Each case: the arguments, then a line standard output must hold.
while IFS='|' read -r arguments expected; do
  # shellcheck disable=SC2086  # the arguments are split on purpose
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$editor" $arguments 2>"$errors")
  status=$?
  err=$(cat "$errors")
  if [ "$status" -ne 0 ] || [ -n "$err" ] || ! grep -qxF -- "$expected" <<<"$out"; then
    echo "FAIL: '$arguments' gave status $status, stdout '$out', stderr '$err'" >&2
    failed=1
  fi
done <<CASES
--help|  -v, --version  Show the version and exit.
-h|  -h, --help     Show this help and exit.
--version|tollwen-level-editor $version
-platform xcb -v|tollwen-level-editor $version
a.jpg --version|tollwen-level-editor $version
CASES
exit "$failed"
