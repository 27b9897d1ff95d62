#!/usr/bin/env bash
# Renders every page to docs/screenshots (offscreen), for the README and for review.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --target screenshot "$root/build" > /dev/null
QT_QPA_PLATFORM=offscreen "$root/build/tools/screenshot" "$root/docs/screenshots" "${1:-English}"
