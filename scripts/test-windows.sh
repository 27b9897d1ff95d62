#!/usr/bin/env bash
# Cross-builds the Windows program (tarnwick.exe), the platform layer, the core and their tests
# for 64-bit Windows with mingw-w64 and runs the tests under Wine, in a Wine prefix of its own
# that is removed afterwards; the desktop test drives the program in a prefix of its own.
# Usage: scripts/test-windows.sh [BUILD_DIR]   (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")
toolchain="$root/cmake/toolchain-mingw64.cmake"

# wine64-preloader reserves Wine's fixed addresses before the kernel places anything there;
# without it about one start in a few thousand fails ("failed to map the shared user data").
# librsvg2-bin rasterises the skins; the desktop test drives the program on Xvfb with openbox,
# trayer and xdotool, and reads the screen with python3.
packages=(g++-mingw-w64-x86-64-posix wine wine64 wine64-preloader cmake ninja-build googletest
          librsvg2-bin xvfb xauth openbox trayer xdotool x11-utils python3 fonts-liberation)
source "$root/scripts/install-missing.sh"
install_missing "${packages[@]}"

# GoogleTest, built once per build folder with the same toolchain.
gtest_prefix="$build/googletest-install"
if [[ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]]; then
    cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
        -DCMAKE_INSTALL_PREFIX="$gtest_prefix" > /dev/null
    cmake --build "$build/googletest" --target install -j 2 > /dev/null
fi

cmake -S "$root" -B "$build/tarnwick" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_PREFIX_PATH="$gtest_prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/support/wine_run.sh" > /dev/null
cmake --build "$build/tarnwick" -j 2

# A fresh prefix owned by this user, no display, no Wine chatter.
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-wine.XXXXXX")
export WINEPREFIX="$scratch/prefix"
mkdir -p "$WINEPREFIX"
stop_wine() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$scratch"
}
trap stop_wine EXIT

# A persistent server, warmed up by one trivial program: the first start builds the prefix, and
# test discovery must not be the one to wait for it (it can hang on inherited pipes).
start_wine() {
    wineserver -p
    wine cmd /c exit < /dev/null > /dev/null 2>&1
}
start_wine

# Drives of every type the drive panel must tell apart: a removable one (a floppy to Wine), an
# optical one and a network one, each a folder of the scratch area. Wine reads the types when its
# mount manager starts, so the server is restarted.
declare -A drive_types=([f]=floppy [r]=cdrom [n]=network)
for letter in "${!drive_types[@]}"; do
    mkdir -p "$scratch/drives/$letter"
    ln -sfn "$scratch/drives/$letter" "$WINEPREFIX/dosdevices/$letter:"
    wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /t REG_SZ \
        /d "${drive_types[$letter]}" /f < /dev/null > /dev/null 2>&1
done
wineserver -k
wineserver -w
start_wine
# The tests compare what Windows answers with these (letter=type).
export TARNWICK_TEST_DRIVES="F=removable R=cdrom N=remote"

cd "$build/tarnwick"
ctest --output-on-failure -j 2 --timeout 300
