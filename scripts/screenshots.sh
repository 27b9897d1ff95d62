#!/usr/bin/env bash
# Renders every page to docs/screenshots (offscreen), for the README and for review.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --target screenshot "$root/build" > /dev/null
QT_QPA_PLATFORM=offscreen "$root/build/tools/screenshot" "$root/docs/screenshots" "${1:-English}"
# The main window once more as a screen of twice the pixel density shows it.
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$root/build/tools/screenshot" "$root/docs/screenshots" \
    "${1:-English}" main
