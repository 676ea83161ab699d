#!/usr/bin/env bash
# Builds the editor (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target tollwen-level-editor
exec build/release/bin/tollwen-level-editor "$@"
