#!/usr/bin/env bash
# Sets everything up, builds and starts q517.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" "$root/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run: no display found (DISPLAY and WAYLAND_DISPLAY are empty)."
    echo "run: q517 is a desktop program; start it from a graphical session, or try:"
    echo "       xvfb-run $root/build/src/q517"
    exit 1
fi
exec "$root/build/src/q517" "$@"
