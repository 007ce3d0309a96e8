#!/usr/bin/env bash
# frtool new and convert: new formats that check, both file variants, and a format the older
# variant cannot hold.
source "$(dirname "$0")/test_lib.bash"
data=$root/tests/data/cli
ini=$tmp/app/Global/QV.ini
last_active() { iconv -f GBK -t UTF-8 "$ini" | sed -n '/^\[LastActiveTemplate\]/,/^\[/p' | grep "^$1="; }

ft new "$tmp/Survey.frt" >/dev/null; rc=$?
check "new exits 0, the file is current variant with CR LF" '[ $rc -eq 0 ] && printf "@t:FRT\r\n@i:" | cmp -s - <(head -c 11 "$tmp/Survey.frt")'
check "new file checks" '[ "$(ft check "$tmp/Survey.frt")" = "$tmp/Survey.frt: OK" ]'
check "last active template written at exit" '[ "$(last_active Template)" = "Template=Kite_Basic" ] && [ "$(last_active Instrument)" = "Instrument=TS-Q6" ]'
check "settings file not writable by its owner" '[ $(( 0$(stat -c %a "$ini") & 0200 )) -eq 0 ]'

ft new --template Kite_GNSS "$tmp/gnss.frt" >/dev/null; rc=$?
check "new --template: exit 0, a file for that template" '[ $rc -eq 0 ] && ft dump "$tmp/gnss.frt" | grep -q "^Template: *Kite_GNSS$"'
check "its template is the last active one" '[ "$(last_active Template)" = "Template=Kite_GNSS" ] && [ "$(last_active Instrument)" = "Instrument=GC-Q3" ]'
ft new --template Kite_Nope "$tmp/nope.frt" >/dev/null 2>&1; rc=$?
check "new with an unknown template exits 1" '[ $rc -eq 1 ] && [ ! -e "$tmp/nope.frt" ]'
ft new >/dev/null 2>&1; rc=$?
check "new without file is a usage error" '[ $rc -eq 2 ]'
echo keep >"$tmp/kept.frt"
ft new "$tmp/kept.frt" >/dev/null 2>"$tmp/err"; rc=$?
check "new refuses an existing file and leaves it" '[ $rc -eq 1 ] && [ "$(cat "$tmp/kept.frt")" = keep ] && grep -q "^frtool: $tmp/kept.frt: .*--force" "$tmp/err"'
ft new --force "$tmp/kept.frt" >/dev/null; rc=$?
check "new --force replaces it" '[ $rc -eq 0 ] && [ "$(ft check "$tmp/kept.frt")" = "$tmp/kept.frt: OK" ]'

ft convert --to older "$data/valid.frt" "$tmp/older.frt"; rc=$?
check "convert --to older: exit 0, older variant written" '[ $rc -eq 0 ] && printf "@frt_orig\r\n%%N" | cmp -s - <(head -c 13 "$tmp/older.frt")'
dump=$(ft dump "$tmp/older.frt")
# What the variants hold is the writer's; here: the variant asked for, named after its file.
check "older file reads back as older, named after itself" 'grep -q "^Variant: *older$" <<<"$dump" && grep -q "^Name: *older$" <<<"$dump"'

ft convert --to current "$root/data/Format/RawMeasurement.frt" "$tmp/current.frt"; rc=$?
check "convert --to current: exit 0, the file checks" '[ $rc -eq 0 ] && [ "$(ft check "$tmp/current.frt")" = "$tmp/current.frt: OK" ]'
check "current file is named after itself" 'ft dump "$tmp/current.frt" | grep -q "^Name: *current$"'
check "the older example converts" 'ft convert --to older "$root/data/Format/OlderVariant.frt" "$tmp/o2.frt"'

echo "keep" >"$tmp/kept.frt"
err=$(ft convert --to older "$data/stakeout.frt" "$tmp/kept.frt" 2>&1 >/dev/null); rc=$?
check "a block the older variant lacks: exit 1, one line of message 23 (got '$err'), the previous file stays" '[ $rc -eq 1 ] && [ $(wc -l <<<"$err") -eq 1 ] && grep -q "不能保存格式文件.  错误:  保存格式字串到旧的格式文件 在" <<<"$err" && [ "$(cat "$tmp/kept.frt")" = keep ]'
check "the same format converts to current" 'ft convert --to current "$data/stakeout.frt" "$tmp/stakeout.frt"'

# Units without an older letter are refused, naming them; strings without a place in the older
# variant are left out with a warning that counts them. Rows: input|sed|exit|stderr.
while IFS='|' read -r input edit want message; do
  sed "$edit" "$input" >"$tmp/in.frt"
  rm -f "$tmp/o.frt"
  err=$(ft convert --to older "$tmp/in.frt" "$tmp/o.frt" 2>&1 >/dev/null); rc=$?
  check "convert --to older of $(basename "$input") with '$edit' exits $want" '[ $rc -eq $want ]'
  check "  says '$message' (got '$err')" 'grep -qF "$message" <<<"$err" && [ $(wc -l <<<"$err") -eq 1 ]'
  check "  and writes a file only when it reads back" 'if [ $want -eq 0 ]; then ft dump "$tmp/o.frt" >/dev/null; else [ ! -e "$tmp/o.frt" ]; fi'
done <<EOF
$data/valid.frt|s/^#LM/#LU/|1|cannot hold: linear unit letter "U"
$data/valid.frt|s/^#WS/#W0/|1|cannot hold: angular unit letter "0"
$root/data/Format/CoordinateImport.frt|s/x/x/|0|frtool: $tmp/o.frt: warning: 3 strings left out, which the older variant cannot hold: 3 import
$root/data/Format/RawMeasurement.frt|s/x/x/|0|warning: 1 string left out, which the older variant cannot hold: 1 further
EOF

sed 's/^@i:TS-Q6/@i:XX/' "$data/valid.frt" >"$tmp/bad.frt"
ft convert --to current "$tmp/bad.frt" "$tmp/out.frt" 2>/dev/null; rc=$?
check "an invalid input exits 1 and writes nothing" '[ $rc -eq 1 ] && [ ! -e "$tmp/out.frt" ]'
for args in "--to newer $data/valid.frt $tmp/x.frt" "$data/valid.frt $tmp/x.frt" "--to older $data/valid.frt"; do
  ft convert $args >/dev/null 2>&1; rc=$?
  check "convert $args is a usage error" '[ $rc -eq 2 ]'
done
exit $fail
