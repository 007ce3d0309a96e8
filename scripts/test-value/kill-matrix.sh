#!/usr/bin/env bash
# A test command for ../shared/tools/mutants that records which tests fail on each mutant:
#   mutants ... --test 'bash scripts/test-value/kill-matrix.sh {build} DIR'
# Each run writes DIR/<time>/ with the mutant's diff against the checkout in MUTANTS_SOURCE (the
# unmutated checkout), the core tests' JSON report and one exit status per frtool test script.
# Exits non-zero when any test failed, so mutants still scores the run.
b=$1 dir=$2 here=$(pwd)
r=$dir/$(date +%s%N)
mkdir -p "$r"
diff -ru "${MUTANTS_SOURCE:?set MUTANTS_SOURCE to the unmutated checkout}/src" "$here/src" >"$r/diff.txt" 2>&1
(cd "$b/tests" && timeout 120 ./core_tests --gtest_brief=1 --gtest_output="json:$r/core.json" >/dev/null 2>&1)
rc=$?
echo "core $rc" >"$r/rc.txt"
# Each frtool script as ctest runs it (arguments, environment).
for s in "$here"/tests/cli/*.sh; do
  name=$(basename "$s" .sh)
  ctest --test-dir "$b" -R "^cli[.]$name\$" --timeout 120 >/dev/null 2>&1
  c=$?
  echo "cli:$name.sh $c" >>"$r/rc.txt"
  [ $c -ne 0 ] && rc=1
done
exit $rc
