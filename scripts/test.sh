#!/usr/bin/env bash
# Builds Tarnwick and runs every test through ctest.
# Usage: scripts/test.sh [--sanitize]
#   --sanitize  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer, in
#               build-asan/: any report, a leak included, fails the test that caused it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [[ ${1:-} == --sanitize ]]; then
    build="$root/build-asan"
    # -O1 and line tables only: half the build time, and reports still name file and line.
    options+=(-DTARNWICK_SANITIZE=ON -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
              -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG")
    export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:suppressions=$root/tests/asan_suppressions.txt
    export LSAN_OPTIONS=suppressions=$root/tests/lsan_suppressions.txt
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
# The desktop tests drive the real program under Xvfb with a window manager and a tray host, and
# with a session bus and a notification service of their own.
source "$root/scripts/install-missing.sh"
install_missing openbox trayer xdotool dbus-daemon python3-dbus python3-gi
"$root/scripts/setup.sh" "$build" "${options[@]}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
