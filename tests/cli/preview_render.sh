#!/usr/bin/env bash
# frtool preview of a known format and frtool render of known strings.
source "$(dirname "$0")/test_lib.bash"
data=$root/tests/data/cli

# The expected text is UTF-8; without --utf8 the bytes are the format's own (GBK).
ft preview "$data/valid.frt" >"$tmp/raw"; rc=$?
iconv -f UTF-8 -t GBK "$data/valid.preview.txt" >"$tmp/expected.gbk"
check "preview: exit 0, bytes as rendered (GBK)" '[ $rc -eq 0 ] && cmp -s "$tmp/raw" "$tmp/expected.gbk"'
ft preview --utf8 "$data/valid.frt" >"$tmp/utf8"
check "preview --utf8" 'cmp -s "$tmp/utf8" "$data/valid.preview.txt"'
check "LF line ends only" '[ $(tr -cd "\r" <"$tmp/raw" | wc -c) -eq 0 ] && [ $(wc -l <"$tmp/raw") -eq 6 ]'
for f in "$root"/data/Format/*.frt; do
  ft preview "$f" >"$tmp/p"; rc=$?
  check "preview of $(basename "$f") exits 0" '[ $rc -eq 0 ]'
done
check "the import example previews only its export string" '[ $(ft preview "$root/data/Format/CoordinateImport.frt" | wc -l) -eq 3 ]'

ft preview >/dev/null 2>&1; rc=$?
check "preview without file is a usage error" '[ $rc -eq 2 ]'

# Point number (code 1, default P1001) and east (code 51, 512345.678); groups: options,
# unit code, unit type, data type, code.
out=$(ft render Kite_Basic '点 %-8.0s|%12.2lf|' 100011001100209051); rc=$?
check "render of a known string: exit 0 (got '$out')" '[ $rc -eq 0 ] && [ "$out" = "点 P1001   |   512345.68|" ]'
out=$(ft render Kite_Basic '%-8.0s|%12.2lf' 100011001 2>&1 >/dev/null); rc=$?
check "a conversion without variable: exit 1 with the result text (got '$out')" '[ $rc -eq 1 ] && [ "$out" = "frtool: render: 对象没找到。" ]'
for args in "Kite_Nope x" Kite_Basic; do
  ft render $args >/dev/null 2>&1; rc=$?
  check "render $args is a usage error" '[ $rc -eq 2 ]'
done
exit $fail
