#!/usr/bin/env bash
# Builds Tarnwick and starts it. Without a display, renders every page to PNG files instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
# Only the program with its helper library and languages (and, without a display, the page
# renderer): the tests and benchmarks are built by scripts/test.sh.
targets=(--target tarnwick)
headless=false
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    headless=true
    targets+=(--target screenshot)
fi
"$root/scripts/setup.sh" "${targets[@]}" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if $headless; then
    echo "No display to show Tarnwick on: rendering its pages to PNG files instead."
    QT_QPA_PLATFORM=offscreen "$build/tools/screenshot" "$build/screenshots"
    exit 0
fi
exec "$build/bin/tarnwick"
