#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Fails when any test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
ctest --test-dir "${QUARVEL_BUILD_DIR:-$root/build}" --output-on-failure -j"$(nproc)"
