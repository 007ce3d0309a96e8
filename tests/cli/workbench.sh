#!/usr/bin/env bash
# frtool scan and export: exit codes, output shapes, stdin, the conversion pipeline on the
# shipped examples, usage errors.
source "$(dirname "$0")/test_lib.bash"
wb=$root/data/Workbench
raw=$wb/TotalStationCsv.frt report=$wb/TotalStationReport.frt

out=$(ft scan "$raw" "$wb/survey_raw.txt"); rc=$?
check "scan of the shipped raw file exits 0" '[ $rc -eq 0 ]'
check "one line per data line, blank ones too" '[ $(wc -l <<<"$out") -eq 11 ] && grep -qx "3: blank" <<<"$out"'

printf 'STN,S1,1,2,3,1.5,C\nSS;7\n' >"$tmp/bad.txt"
ft scan --json "$raw" - <"$tmp/bad.txt" >"$tmp/json"; rc=$?
check "an unmatched line exits 1" '[ $rc -eq 1 ]'
check "--json: one object per line with the issue shape" 'python3 -c "
import json, sys
rows = [json.loads(l) for l in open(sys.argv[1])]
assert [r[\"line\"] for r in rows] == [1, 2]
keys = {\"line\", \"text\", \"matched\", \"string_id\", \"block\", \"values\", \"error\"}
assert all(set(r) == keys for r in rows)
assert rows[0][\"matched\"] and rows[0][\"block\"] == 11 and rows[0][\"error\"] is None
assert rows[0][\"values\"][1][\"value\"] == 1 and rows[0][\"values\"][0][\"value\"] == \"S1\"
assert not rows[1][\"matched\"] and rows[1][\"string_id\"] is None and \"column 3\" in rows[1][\"error\"]
" "$tmp/json"'

ft scan --records "$raw" "$wb/survey_raw.txt" >"$tmp/records.csv" 2>"$tmp/err"
check "--records: a header and a row per matched line, nothing on stderr" \
  '[ $(wc -l <"$tmp/records.csv") -eq 10 ] && [ ! -s "$tmp/err" ] && head -1 "$tmp/records.csv" | grep -q "^block,"'
check "--records: parses as CSV" 'python3 -c "import csv,sys; rows=list(csv.reader(open(sys.argv[1]))); assert len({len(r) for r in rows}) == 1" "$tmp/records.csv"'

# The pipeline of the README: read with one format, write with another.
ft scan --records "$raw" "$wb/survey_raw.txt" | ft export --utf8 "$report" - >"$tmp/report"; rc=$?
check "scan | export exits 0" '[ $rc -eq 0 ]'
check "  file header first, footer last" '[ "$(head -1 "$tmp/report")" = "Quarvel survey report" ] && [ "$(tail -1 "$tmp/report")" = "-- end of report --" ]'
ft export -o "$tmp/out.txt" "$report" "$wb/survey_records.csv"; rc=$?
check "export -o writes the file" '[ $rc -eq 0 ] && [ -s "$tmp/out.txt" ]'
ft export -o "$tmp/out.txt" "$report" "$wb/survey_records.csv" 2>"$tmp/err"; rc=$?
check "export -o refuses an existing file" '[ $rc -eq 2 ] && grep -q "file exists" "$tmp/err"'

printf 'block,点号,水平角\n10,P1,x\n10,P2,1\n' >"$tmp/bad.csv"
ft export "$report" "$tmp/bad.csv" >"$tmp/out" 2>"$tmp/err"; rc=$?
check "a failed record exits 1, the rest is written" '[ $rc -eq 1 ] && grep -q "^P2 " "$tmp/out"'
check "  reported with its row" 'grep -qx "frtool: $tmp/bad.csv: row 2: variable 21: '"'"'x'"'"' is not a number" "$tmp/err"'
printf 'nope\n' | ft export "$report" - 2>/dev/null >&2; rc=$?
check "a records file without its header exits 2" '[ $rc -eq 2 ]'

for args in "scan" "scan $raw" "scan --json --records $raw x" "export $report" \
  "export --application 999 $report $wb/survey_records.csv" "scan $raw /nonexistent"; do
  ft $args >/dev/null 2>&1; rc=$?
  check "usage or data fault: $args" '[ $rc -eq 2 ]'
done
exit $fail
