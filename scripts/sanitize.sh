#!/usr/bin/env bash
# Hostile-input checks: the core tests under AddressSanitizer + UndefinedBehaviorSanitizer
# (build-asan/), the core tests under valgrind's leak check (the normal build/, built here when it
# is missing), and every fuzz target for a short run on its corpus. Fails on the first problem.
#
#   QUARVEL_FUZZ_SECONDS   seconds per fuzz target (default 20; 0 skips fuzzing)
#   QUARVEL_VALGRIND=0     skips the valgrind run
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
asan=${QUARVEL_ASAN_BUILD_DIR:-$root/build-asan}
build=${QUARVEL_BUILD_DIR:-$root/build}
jobs=${QUARVEL_JOBS:-$(nproc)}
fuzz_seconds=${QUARVEL_FUZZ_SECONDS:-20}
step() { printf '\n== %s (%ss)\n' "$1" "$SECONDS"; }

"$root/scripts/install-deps.sh"

step "ASan + UBSan build of the core tests and frtool"
cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVEL_SANITIZE=ON \
  -DQUARVEL_BUILD_APP=OFF -DQUARVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$asan" -j"$jobs" --target core_tests frtool

step "core tests under ASan + UBSan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$asan/tests/core_tests" --gtest_brief=1

if [ "${QUARVEL_VALGRIND:-1}" != 0 ]; then
  step "core tests under valgrind (leak check)"
  # CI has built it with scripts/test.sh; otherwise build only the test binary.
  if [ ! -x "$build/tests/core_tests" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j"$jobs" --target core_tests
  fi
  # The randomised property tests and the 200 MB generated file run long under valgrind and
  # find nothing the sanitizer run does not.
  valgrind --quiet --suppressions="$root/scripts/valgrind.supp" --leak-check=full --errors-for-leak-kinds=definite,indirect --error-exitcode=1 \
    "$build/tests/core_tests" --gtest_brief=1 \
    --gtest_filter="${QUARVEL_VALGRIND_FILTER:--FrtRoundTrip.*:AgainstSnprintf.*:FrtHugeFile.CommentLines*}"
fi

if [ "$fuzz_seconds" != 0 ]; then
  step "fuzz targets, ${fuzz_seconds}s each"
  "$root/fuzz/run" "$fuzz_seconds"
fi
step "done"
