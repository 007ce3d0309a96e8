#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor. Arguments go to the editor
# (--app-dir DIR, --shared-dir DIR, a format file). Without a display it runs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
editor="${QUARVEL_BUILD_DIR:-$root/build}/src/app/quarvel"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$editor" "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x800x24" "$editor" "$@"
