#!/usr/bin/env bash
# frtool templates on the shipped catalogue, and frtool pool on pool files written here.
source "$(dirname "$0")/test_lib.bash"

out=$(ft templates); rc=$?
check "templates: exit 0, instruments in catalogue order" '[ $rc -eq 0 ] && grep -qx "Instruments: TS-Q6 GC-Q3" <<<"$out"'
check "each template with its instrument" '[ $(grep -c "^Template .* (instrument .*)$" <<<"$out") -eq 4 ] && grep -qx "Template Kite_Basic (instrument TS-Q6)" <<<"$out"'
check "limits of a template" 'grep -q "string length 40, file header 1 (length 250), file footer 1 (length 120), default strings 1" <<<"$out"'
check "applications with header lengths" 'grep -qx "  application 101 测量, header length 80" <<<"$out"'
check "export definition with limits" 'grep -qx "  export block 10 测量数据: length 250, strings 6, variables 20, header 120" <<<"$out"'
check "import definition with restriction" 'grep -qx "  import block 12 坐标导入: length 200, strings 2, variables 8, header 1, restriction 1" <<<"$out"'
check "allowed codes" 'grep -qx "    codes 1,2,3,51,52,53,7,16" <<<"$out"'
check "pool variables" 'grep -q "^  051 东坐标 .* type  9 linear .*default \"512345.678\"$" <<<"$out"'
if command -v python3 >/dev/null; then
  ft templates --json >"$tmp/t.json"
  pool_size=$(iconv -f GBK -t UTF-8 "$root/data/Templates/Quarvel/QV.tpl" | grep -c "^Name[0-9]*=")
  check "templates --json" 'python3 - "$tmp/t.json" "$pool_size" <<"EOF2"
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert d["instruments"] == ["TS-Q6", "GC-Q3"]
basic = [t for t in d["templates"] if t["name"] == "Kite_Basic"][0]
assert basic["instrument"] == "TS-Q6" and basic["max_strings"] > 0
assert [a["number"] for a in basic["applications"]] == [101, 102, 103, 104, 105, 106]
block10 = basic["definitions"][0]
assert block10["direction"] == "export" and block10["block"] == 10 and block10["header"] == 120
assert any(x["direction"] == "import" and x["restriction"] == 1 for x in basic["definitions"])
assert len(d["variables"]) == int(sys.argv[2])
EOF2'
fi
ft templates --frob >/dev/null 2>&1; rc=$?
check "templates with an unknown argument is a usage error" '[ $rc -eq 2 ]'

# pool.dat: counts and lengths are 32-bit little-endian.
byte() { printf "\\x$(printf %02x $(($1 & 255)))"; }
u16() { byte $1; byte $(($1 >> 8)); }
u32() { u16 $(($1 & 65535)); u16 $(($1 >> 16)); }
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
# entry NAME DESCRIPTION AUTHOR DATE TEMPLATE DIRECTION SECTION BLOCK TEXT [code,unittype,datatype,unitcode,options]...
entry() {
  u32 640
  for t in "$1" "$2" "$3" "$4" "$5"; do
    gbk "$t"; head -c $((128 - $(gbk "$t" | wc -c))) /dev/zero
  done
  u32 6; byte $6; byte $7; byte $8; byte 0; u16 0
  u32 $(gbk "$9" | wc -c); gbk "$9"
  shift 9
  u32 $#
  for v in "$@"; do
    IFS=, read -r code ut dt uc opt <<<"$v"
    u32 6; u16 $code; byte $ut; byte $dt; byte $uc; byte $opt
  done
}
mkdir -p "$tmp/app"
{
  u32 3
  entry "点号行" "中文说明" "Quarvel" "Sunday, December 06, 2026" Kite_Basic 1 1 12 "%-10.0s" 1,0,11,0,1
  entry "b-coord" "coordinates" "Quarvel" "today" Kite_Basic 1 7 12 "%s %12.3lf %12.3lf" 1,0,11,0,1 51,2,9,21,1 52,2,9,21,1
  entry "a-import" "import" "someone" "today" Kite_GNSS 2 1 14 "%s"
} >"$tmp/app/pool.dat"

out=$(ft pool list); rc=$?
check "pool list: exit 0, one line per entry in the pool order, name first" '[ $rc -eq 0 ] && [ "$(cut -f1 <<<"$out" | tr "\n" ,)" = "a-import,b-coord,点号行," ]'
check "direction, section, block, template and text" 'grep -qxF "$(printf "b-coord\texport\t7\t12\tKite_Basic\t\"%%s %%12.3lf %%12.3lf\"")" <<<"$out"'
check "an import entry" 'grep -qxF "$(printf "a-import\timport\t1\t14\tKite_GNSS\t\"%%s\"")" <<<"$out"'

out=$(ft pool show b-coord); rc=$?
check "pool show: exit 0, texts" '[ $rc -eq 0 ] && grep -qx "Description: coordinates" <<<"$out" && grep -qx "Date:        today" <<<"$out" && grep -qx "Template:    Kite_Basic" <<<"$out"'
check "show: key" 'grep -qx "Direction:   export (1)" <<<"$out" && grep -qx "Section:     7" <<<"$out" && grep -qx "Block:       12" <<<"$out"'
check "show: variables with pool names" 'grep -q "^Variables:   3$" <<<"$out" && grep -q "code 051 unit type 2 data type 09 unit code 21 options 1  东坐标$" <<<"$out"'
check "show: a GBK name and description" 'ft pool show 点号行 | grep -qx "Description: 中文说明"'
ft pool show nobody >/dev/null 2>&1; rc=$?
check "show of a missing entry exits 1" '[ $rc -eq 1 ]'

size=$(wc -c <"$tmp/app/pool.dat")
out=$(ft pool remove b-coord); rc=$?
check "pool remove: exit 0, the file is written without it" '[ $rc -eq 0 ] && [ $(wc -c <"$tmp/app/pool.dat") -lt $size ] && [ "$(ft pool list | cut -f1 | tr "\n" ,)" = "a-import,点号行," ]'
ft pool show b-coord >/dev/null 2>&1; rc=$?
check "a removed entry is gone" '[ $rc -eq 1 ]'
ft pool remove b-coord >/dev/null 2>&1; rc=$?
check "removing a missing entry exits 1" '[ $rc -eq 1 ]'
check "the rest survives" 'ft pool show 点号行 | grep -q "^Text:        \"%-10.0s\"$"'

head -c 700 "$tmp/app/pool.dat" >"$tmp/cut" && cp "$tmp/cut" "$tmp/app/pool.dat"
out=$(ft pool list 2>"$tmp/err"); rc=$?
check "a pool file that does not load: exit 2, its warning, the file as it was" '[ $rc -eq 2 ] && [ -z "$out" ] && [ "$(cat "$tmp/err")" = "警告信息: 不能加载字串池。" ] && cmp -s "$tmp/cut" "$tmp/app/pool.dat"'
rm "$tmp/app/pool.dat"
out=$(ft pool list); rc=$?
check "no pool file is an empty pool" '[ $rc -eq 0 ] && [ -z "$out" ] && [ ! -e "$tmp/app/pool.dat" ]'
for args in "" "frob" "show" "remove a b"; do
  ft pool $args >/dev/null 2>&1; rc=$?
  check "pool $args is a usage error" '[ $rc -eq 2 ]'
done
exit $fail
