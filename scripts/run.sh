#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main program on the shipped example format.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "$root/build/src/cli/frtool" dump "$root/data/Format/Example.frt"
