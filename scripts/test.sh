#!/usr/bin/env bash
# Builds Tarnwick and runs every test through ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
