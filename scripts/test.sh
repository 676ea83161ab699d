#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: the normal suite, the same
# suite under AddressSanitizer + UBSan, and a short fuzz pass over the file readers.
#   scripts/test.sh            everything (what CI runs)
#   scripts/test.sh --quick    the normal suite only
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
# Qt wants a private runtime directory; CI machines have none.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLLWEN_WERROR=ON >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j2 | tee build/test/ctest-summary.log
[ "${1:-}" = "--quick" ] && exit 0

echo "== Sanitizer run (AddressSanitizer + UndefinedBehaviorSanitizer)"
scripts/configure-sanitize.sh build/sanitize
cmake --build build/sanitize
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j2

echo "== Fuzz pass"
scripts/fuzz.sh "${TOLLWEN_FUZZ_SECONDS:-45}" build/sanitize

echo "== Normal suite"
tail -n 3 build/test/ctest-summary.log
