#!/usr/bin/env bash
# Installs what is needed, builds and starts Tarvex. The program keeps its
# files beside the executable (build/src/); with no display it starts under
# xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
program="${TARVEX_BUILD_DIR:-build}/src/tarvex"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display found; starting Tarvex under xvfb-run (an invisible screen)"
    exec xvfb-run -a "$program"
fi
exec "$program"
