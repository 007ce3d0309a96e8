#!/usr/bin/env bash
# Line coverage of src/ per core test and per frtool test script: builds core_tests and frtool with
# clang's source-based coverage into build-cov/, runs each test alone and writes the src lines it
# ran to build-cov/per-test/<n>.txt, with build-cov/per-test/map.txt naming each <n>.
# Used with kill-matrix.sh and value.py to find tests that guard nothing the others do not.
set -euo pipefail
for tool in clang++ llvm-profdata llvm-cov; do
  command -v "$tool" >/dev/null || { echo "coverage.sh: needs $tool (Debian: apt-get install clang llvm)" >&2; exit 2; }
done
root=$(cd "$(dirname "$0")/../.." && pwd)
b=${QUARVEL_COV_DIR:-$root/build-cov}
out=$b/per-test
CC=clang CXX=clang++ cmake -S "$root" -B "$b" -DCMAKE_BUILD_TYPE=Debug -DQUARVEL_BUILD_APP=OFF \
  -DQUARVEL_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$b" -j"$(nproc)" --target core_tests frtool >/dev/null
rm -rf "$out" && mkdir -p "$out/raw"

# run NAME COMMAND...: the covered src lines of one run, as "file:line".
run() {
  local n=$1
  shift
  LLVM_PROFILE_FILE="$out/raw/$n-%p.profraw" "$@" >/dev/null 2>&1 || true
  # A run that crashed left no profile: it holds nothing.
  llvm-profdata merge -sparse -o "$out/raw/$n.profdata" "$out/raw/$n"-*.profraw 2>/dev/null || return 0
  llvm-cov export -format=lcov -instr-profile "$out/raw/$n.profdata" "$b/tests/core_tests" \
    -object "$b/src/cli/frtool" -ignore-filename-regex='(/tests/|^/usr/)' |
    awk -F'[:,]' '/^SF:/ { f = $2; sub(".*/src/", "src/", f) } /^DA:/ { if ($3 > 0) print f ":" $2 }' \
      >"$out/$n.txt"
  rm -f "$out/raw/$n"-*.profraw "$out/raw/$n.profdata"
}

i=0
LLVM_PROFILE_FILE=/dev/null "$b/tests/core_tests" --gtest_list_tests | awk '/^[^ ]/ { s = $1 } /^  / { print s $1 }' |
  while read -r t; do
    i=$((i + 1))
    (cd "$b/tests" && run "c$i" ./core_tests --gtest_filter="$t")
    echo "c$i $t" >>"$out/map.txt"
  done
# The frtool scripts run as ctest runs them (arguments, environment); frtool writes the profiles.
for s in "$root"/tests/cli/*.sh; do
  name=$(basename "$s" .sh)
  run "cli-$name" ctest --test-dir "$b" -R "^cli[.]$name\$"
  echo "cli-$name cli:$name.sh" >>"$out/map.txt"
done
rm -rf "$out/raw"
echo "per-test coverage in $out"
