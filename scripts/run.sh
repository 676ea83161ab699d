#!/usr/bin/env bash
# Builds the editor (release) and starts it with the given arguments; without a picture among
# them, on the example level in examples/.
#   scripts/run.sh [PICTURE.jpg]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
heading "Packages"
"$root/scripts/install-deps.sh"
heading "Configuring the release build (build/release)"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
heading "Building the editor, $jobs jobs (the first time about 5 minutes on 2 cores)"
cmake --build "$root/build/release" -j "$jobs" --target tollwen-level-editor

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
heading "Starting the editor"
use_private_runtime_dir
trap remove_private_runtime_dir EXIT
"$root/build/release/bin/tollwen-level-editor" "$@"
