#!/usr/bin/env bash
# Counts non-blank, non-comment lines of C++ and shell under src/ and tests/, and the share of
# the tests against the code. Lines that are only a comment (//, /* or * continuation, or a shell
# comment) do not count; preprocessor lines do.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$1" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.bash' \) -print0 | xargs -0 cat |
    grep -v '^\s*$' | grep -v '^\s*//' | grep -v '^\s*#[^a-z]' | grep -v '^\s*#$' |
    grep -v '^\s*/\?\*' | wc -l
}
src=$(count src)
tests=$(count tests)
echo "src $src tests $tests ($((100 * tests / src))%)"
