#!/usr/bin/env bash
# Every window text has an English translation: the .ts files, brought up to date with the
# sources in a scratch copy, have no unfinished, empty or vanished entry.
# Arguments: lupdate, the source folder of the editor.
set -u
lupdate=$1 app=$2
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail=0
for ts in "$app"/translations/*.ts; do
  copy=$tmp/$(basename "$ts")
  cp "$ts" "$copy"
  "$lupdate" -silent -locations none "$app" -ts "$copy" || fail=1
  bad=$(grep -n -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>|<translation/>' "$copy")
  if [ -n "$bad" ]; then
    echo "FAIL: $(basename "$ts") has entries without a translation:"
    grep -B2 -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>|<translation/>' "$copy" | grep '<source>'
    fail=1
  fi
done
exit $fail
