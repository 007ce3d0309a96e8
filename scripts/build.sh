#!/usr/bin/env bash
# Configures and builds the project into build/ (or $QUARVEL_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARVEL_BUILD_DIR:-$root/build}
launcher=()
# A compiler cache, when the machine has one, makes rebuilds of other checkouts cheap.
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
