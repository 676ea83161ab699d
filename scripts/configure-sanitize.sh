#!/usr/bin/env bash
# Configures the clang build with AddressSanitizer + UndefinedBehaviorSanitizer and the fuzz
# targets; the sanitizer test run and the fuzz pass share it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/sanitize}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLLWEN_WERROR=ON -DTOLLWEN_SANITIZE=ON -DTOLLWEN_FUZZ=ON -DTOLLWEN_BENCHMARKS=OFF >/dev/null
