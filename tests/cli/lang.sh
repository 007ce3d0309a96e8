#!/usr/bin/env bash
# The language of frtool's messages: the environment's, unless --lang says otherwise.
source "$(dirname "$0")/test_lib.bash"
sed 's/^@v:1.00/@v:1.0/' "$root/tests/data/cli/valid.frt" >"$tmp/broken.frt"
unset LANGUAGE LC_ALL LC_MESSAGES LANG
zh="无效的格式文件。 版本或文件类型无效。"
en="Invalid format file. Invalid version or file type."
# Which variable wins is the core's; here: the environment is read, and --lang beats it.
# environment (VAR=value, or - for none) | global options | expected message
rows=(
  "-||$zh"
  "LANGUAGE=en||$en"
  "LC_ALL=C|--lang en|$en"
  "LANGUAGE=en|--lang zh|$zh"
)
for r in "${rows[@]}"; do
  IFS='|' read -r env opts text <<<"$r"
  [ "$env" = - ] && env=
  # shellcheck disable=SC2086
  out=$(env $env "$frtool" --app-dir "$tmp/app" $opts check "$tmp/broken.frt")
  check "$env $opts: '$text' (got '$out')" '[ "$out" = "$tmp/broken.frt: $text" ]'
done

out=$(ft --lang fr check "$tmp/broken.frt" 2>"$tmp/err"); rc=$?
check "an unknown language is a usage error" '[ $rc -eq 2 ] && [ -z "$out" ] && grep -q "fr" "$tmp/err"'
exit $fail
