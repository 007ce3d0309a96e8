#!/usr/bin/env bash
# frtool dump on the shipped example and on broken input.
source "$(dirname "$0")/test_lib.bash"

out=$(ft dump "$root/data/Format/Example.frt"); rc=$?
check "dump exits 0, template, GBK name as UTF-8, three strings" '[ $rc -eq 0 ] && grep -q "^Template: *Kite_Basic$" <<<"$out" && grep -q "^Name: *坐标输出$" <<<"$out" && grep -q "^Strings: *3$" <<<"$out"'
check "variables listed" '[ $(grep -c "variable: code" <<<"$out") -eq 5 ]'
check "applications listed" 'grep -q "applications: 101 102" <<<"$out"'
check "string IDs as the document numbers them" '[ "$(grep -o "id [0-9]*" <<<"$out" | tr "\n" ,)" = "id 14000000,id 11012001,id 15000000," ]'

sed 's/^@l:Kite_Basic/@l:Kite_Nope/' "$root/data/Format/Example.frt" >"$tmp/other.frt"
check "a format the editor refuses still dumps" 'ft dump "$tmp/other.frt" | grep -q "^Template: *Kite_Nope$"'

json=$(ft dump --json "$root/data/Format/Example.frt"); rc=$?
check "json exits 0 with applications" '[ $rc -eq 0 ] && grep -q "\"applications\": \[101, 102\]" <<<"$json"'
check "json string IDs" 'grep -q "{\"id\": 11012001, \"direction\": 1, \"section\": 1, \"block\": 12" <<<"$json"'

# Scales the reader takes but JSON has no number for, in a file whose name is not UTF-8: every
# --json output still parses.
odd=$tmp/$'\xff\xfe'.frt
sed 's/^&W.*/\&Winf\r/; s/^&L.*/\&L-nan\r/' "$root/data/Format/Example.frt" >"$odd"
ft dump --json "$odd" >"$tmp/odd-dump.json" 2>/dev/null
ft check --json "$odd" >"$tmp/odd-check.json" 2>/dev/null
check "every --json output parses; the dump has three strings" 'python3 -c "import json,sys; assert len(json.loads(sys.argv[1])[\"strings\"]) == 3; [json.load(open(p)) for p in sys.argv[2:]]" "$json" "$tmp/odd-dump.json" "$tmp/odd-check.json"'
check "  a scale of inf is a string" 'ft dump --json "$odd" | grep -q "\"angular\": {\"code\": \"G\", \"scale\": \"inf\"}"'

ft dump "$tmp/missing.frt" >/dev/null 2>&1; rc=$?
check "missing file exits 1" '[ $rc -eq 1 ]'
for args in dump frobnicate; do
  ft $args >/dev/null 2>&1; rc=$?
  check "$args alone is a usage error" '[ $rc -eq 2 ]'
done
mkdir "$tmp/empty"
"$frtool" --app-dir "$tmp/app2" --shared-dir "$tmp/empty" dump "$root/data/Format/Example.frt" >/dev/null 2>&1; rc=$?
check "data files that do not load exit 2" '[ $rc -eq 2 ]'
"$frtool" --version | grep -q '^frtool '; check "version" '[ $? -eq 0 ]'
exit $fail
