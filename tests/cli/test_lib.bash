# Sourced by every frtool test: `frtool` and `root` from the arguments, `check NAME CONDITION`
# (records a failure and goes on), a scratch folder `tmp`, and `ft` (frtool on a scratch app dir).
set -u
frtool=$1 root=$2
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
ft() { "$frtool" --app-dir "$tmp/app" "$@"; }
