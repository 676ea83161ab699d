#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: the normal suite, the same
# suite under AddressSanitizer + UBSan, and a short fuzz pass over the file readers. Each part
# runs even when one before it had failing tests; a closing summary gives each part's counts,
# the tests that skipped and why, and the exit status is 0 only when nothing failed.
#   scripts/test.sh            everything (what CI runs)
#   scripts/test.sh --quick    the normal suite only
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
quick=0
[ "${1:-}" = "--quick" ] && quick=1

summary=()
failed=0
finish() {
  local status=$?
  if [ -n "$phase" ] && [ "$status" -ne 0 ]; then
    summary+=("$phase: failed, see above")
  fi
  phase=""
  heading "Summary"
  printf '%s\n' "${summary[@]}"
  if grep -q '^  skipped' <(printf '%s\n' "${summary[@]}"); then
    echo "(Some tests skip where the machine does not allow what they need; the README says which.)"
  fi
  remove_private_runtime_dir
}
trap finish EXIT

# run_suite PART BUILD-DIR: runs the build's tests, then notes their counts in the summary.
run_suite() {
  local results="$PWD/$2/ctest-results.xml"
  rm -f "$results"
  ctest --test-dir "$2" --output-on-failure -j "$jobs" --output-junit "$results" || failed=1
  summary+=("$(python3 scripts/ctest-summary.py "$1" "$results")")
  phase=""
}

heading "Packages"
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
use_private_runtime_dir

heading "Configuring the normal build (build/test)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLLWEN_WERROR=ON >/dev/null
heading "Building build/test, $jobs jobs (the first time about 8 minutes on 2 cores)"
cmake --build build/test -j "$jobs"
heading "Normal suite"
run_suite "Normal suite" build/test
if [ "$quick" -eq 1 ]; then
  exit "$failed"
fi

heading "Configuring the sanitizer build (build/sanitize, clang)"
scripts/configure-sanitize.sh build/sanitize
heading "Building build/sanitize, $jobs jobs (the first time about 6 minutes on 2 cores)"
cmake --build build/sanitize -j "$jobs"
heading "Sanitizer run (AddressSanitizer + UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite "Sanitizer run" build/sanitize

# Seven targets at 25 s each, as many at a time as there are processors, keep the pass under two
# minutes on 2 cores, so CI stays within its time.
seconds=${TOLLWEN_FUZZ_SECONDS:-25}
heading "Fuzz pass (${seconds} s a target)"
rm -f build/sanitize/fuzz-summary.txt
scripts/fuzz.sh "$seconds" build/sanitize || failed=1
if [ -s build/sanitize/fuzz-summary.txt ]; then
  fuzzed=$(paste -sd ';' build/sanitize/fuzz-summary.txt | sed 's/;/; /g')
  summary+=("Fuzz pass, ${seconds} s a target: $fuzzed")
  phase=""
fi
exit "$failed"
