#!/usr/bin/env bash
# frtool check: valid formats, broken copies of a valid format, the JSON lines, and data files
# that do not load.
source "$(dirname "$0")/test_lib.bash"
valid=$root/tests/data/cli/valid.frt

out=$(ft check "$valid" "$root"/data/Format/*.frt); rc=$?
check "valid formats: exit 0, one OK line per file" '[ $rc -eq 0 ] && [ $(grep -c ": OK$" <<<"$out") -eq $(( $(ls "$root"/data/Format/*.frt | wc -l) + 1 )) ]'

# The faults themselves and their message ids and lines belong to the core's check tables; these rows
# prove the one-line shape (text, extra, line) and the exit status.
# name | change to valid.frt (sed) | message id | start of the one-line message
faults=(
  "version|s/^@v:1.00/@v:1.0/|1203|无效的格式文件。 版本或文件类型无效。"
  "unknown_template|s/^@l:Kite_Basic/@l:Kite_Nope/|1202|无效的格式文件。 模板名无效。 Kite_Nope"
  "malformed_line|s/^\\\$1500000\"END\"/\$1500000\"END\"x/|1114|不能加载格式文件. 分析结果: 无效的格式文件！ 错误在行: 23"
)
for f in "${faults[@]}"; do
  IFS='|' read -r name expr id text <<<"$f"
  sed "$expr" "$valid" >"$tmp/$name.frt"
  out=$(ft check "$tmp/$name.frt" 2>"$tmp/err"); rc=$?
  check "$name: exit 1, one line '$text' (got '$out'), nothing on stderr" '[ $rc -eq 1 ] && [ $(wc -l <<<"$out") -eq 1 ] && [ ! -s "$tmp/err" ] && { [ "$out" = "$tmp/$name.frt: $text" ] || [[ "$out" == "$tmp/$name.frt: $text "* ]]; }'
  json=$(ft check --json "$tmp/$name.frt")
  check "$name: JSON message id $id" 'grep -q "\"ok\": false, \"message_id\": $id," <<<"$json"'
done

out=$(ft check "$valid" "$tmp/missing.frt" "$tmp/version.frt"); rc=$?
check "a mix exits 1, one line per file in order" '[ $rc -eq 1 ] && [ "$(cut -d: -f2 <<<"$out" | tr -d " " | tr "\n" ,)" = "OK,无效的格式文件。版本或文件类型无效。,无效的格式文件。版本或文件类型无效。," ]'

# A file that cannot be used: the system's message on stdout, the reason (the core's) on stderr.
out=$(LC_ALL=C "$frtool" --app-dir "$tmp/app" check "$tmp/missing.frt" 2>"$tmp/err"); rc=$?
check "missing file: exit 1, the reason on stderr" '[ $rc -eq 1 ] && [ "$(cat "$tmp/err")" = "frtool: $tmp/missing.frt: No such file or directory" ]'

if command -v python3 >/dev/null; then
  ft check --json "$valid" "$tmp/unknown_template.frt" "$tmp/malformed_line.frt" >"$tmp/json"
  check "JSON lines: shape" 'python3 - "$tmp/json" "$valid" "$tmp/unknown_template.frt" <<"EOF"
import json, sys
lines = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]
assert lines[0] == {"file": sys.argv[2], "ok": True}, lines[0]
assert lines[1] == {"file": sys.argv[3], "ok": False, "message_id": 1202, "line": None,
                    "text": "无效的格式文件。\n模板名无效。", "extra": "\nKite_Nope"}, lines[1]
# The reader counts the lines after the type line: its 23 is line 24 of the file.
assert lines[2]["text"].endswith(": 23") and lines[2]["line"] == 24, lines[2]
EOF'
fi

# A file saved as UTF-8 (otherwise valid): a warning on stderr, result and exit status as ever.
iconv -f GBK -t UTF-8 "$valid" >"$tmp/utf8.frt"
out=$(ft check "$tmp/utf8.frt" 2>"$tmp/err"); rc=$?
check "UTF-8 file: OK, exit 0, one warning naming UTF-8 (got '$(cat "$tmp/err")')" \
  '[ $rc -eq 0 ] && [ "$out" = "$tmp/utf8.frt: OK" ] && [ $(wc -l <"$tmp/err") -eq 1 ] && grep -q "^frtool: $tmp/utf8.frt: warning: .*UTF-8" "$tmp/err"'

# Every command reports a fault the same way: stderr "frtool: SUBJECT: message", no output. (What
# the message says is the core's.)
# command | subject
faulty=(
  "preview $tmp/version.frt|$tmp/version.frt"
  "convert --to current $tmp/version.frt $tmp/x.frt|$tmp/version.frt"
  "convert --to current $valid $tmp/no/x.frt|$tmp/no/x.frt"
  "dump $tmp/malformed_line.frt|$tmp/malformed_line.frt"
  "new --template Kite_Nope $tmp/n.frt|new"
)
for f in "${faulty[@]}"; do
  IFS='|' read -r cmd subject <<<"$f"
  out=$(ft $cmd 2>"$tmp/err"); rc=$?
  check "$cmd: exit 1, no output, one line 'frtool: $subject: ...' (got '$(cat "$tmp/err")')" \
    '[ $rc -eq 1 ] && [ -z "$out" ] && [ $(wc -l <"$tmp/err") -eq 1 ] && grep -q "^frtool: $subject: ." "$tmp/err"'
done

# Help for the tool and for each command, before any data file is looked at.
# arguments | first words of the help
helps=("-h|Usage: frtool [" "--help|Usage: frtool [" "check --help|Usage: frtool check " "check -h x.frt|Usage: frtool check "
       "new -h|Usage: frtool new " "pool --help|Usage: frtool pool ")
for h in "${helps[@]}"; do
  IFS='|' read -r args start <<<"$h"
  out=$("$frtool" --app-dir /nonexistent/app --shared-dir /nonexistent $args 2>"$tmp/err"); rc=$?
  check "frtool $args: exit 0, help on stdout" '[ $rc -eq 0 ] && [[ "$out" == "$start"* ]] && [ ! -s "$tmp/err" ]'
done

for args in "" "--frob $valid"; do
  ft check $args >/dev/null 2>&1; rc=$?
  check "check $args is a usage error" '[ $rc -eq 2 ]'
done

# Data files that do not load: their messages, exit 2, no result line.
mkdir -p "$tmp/shared"
out=$("$frtool" --app-dir "$tmp/other" --shared-dir "$tmp/shared" check "$valid" 2>"$tmp/err"); rc=$?
check "settings missing: exit 2, no result, the start message" '[ $rc -eq 2 ] && [ -z "$out" ] && grep -q "启动失败, 找不到初始化数据 !" "$tmp/err"'
exit $fail
