#!/usr/bin/env bash
# Builds the editor (release) and starts it with the given arguments; without a picture among
# them, on the example level in examples/.
#   scripts/run.sh [PICTURE.jpg]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" --target tollwen-level-editor

# Arguments are passed on as given (relative paths still mean the caller's directory); Qt's
# own options start with "-", and everything after "--" is a file name.
picture_given=0
names_only=0
for argument in "$@"; do
  if [ "$names_only" -eq 1 ] || [[ "$argument" != -* ]]; then
    picture_given=1
  elif [ "$argument" = "--" ]; then
    names_only=1
  fi
done
if [ "$picture_given" -eq 0 ]; then
  set -- "$@" "$root/examples/meadow.jpg"
fi
exec "$root/build/release/bin/tollwen-level-editor" "$@"
