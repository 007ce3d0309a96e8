#!/usr/bin/env bash
# Builds the editor and saves pictures of its windows into docs/ (or the folder given):
# the empty main window, the shipped example with a string being edited (with and without the
# insert-variable window), the editor alone, the insert-variable window, the variable sheet with
# both its pages, the dialogs of the format's menu (applications, string pool, settings), the about
# box, the preview and print preview, and the workbench's two tabs. Runs under Xvfb with a scratch
# application folder.
# Usage: scripts/screenshots.sh [OUT [LANG]]; LANG is zh (the default) or en, e.g.
# `scripts/screenshots.sh docs/en en` for the English pictures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs}
lang=${2:-zh}
# The editor changes into its format folder at start-up: give it an absolute path.
mkdir -p "$out" && out=$(cd "$out" && pwd)
build=${QUARVEL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target quarvel
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/src/app/quarvel" \
  --app-dir "$scratch/app" --shared-dir "$root/data" --screenshots "$out" --lang "$lang"
ls "$out"/*.png
