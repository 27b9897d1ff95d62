#!/usr/bin/env bash
# Builds Tarnwick and starts it. Without a display, renders every page to PNG files instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display to show Tarnwick on: rendering its pages to PNG files instead."
    QT_QPA_PLATFORM=offscreen "$build/tools/screenshot" "$build/screenshots"
    exit 0
fi
exec "$build/bin/tarnwick"
