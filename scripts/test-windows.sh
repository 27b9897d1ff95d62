#!/usr/bin/env bash
# Cross-builds the Windows program (tarnwick.exe), the helper library twkd.dll, the platform
# layer, the core and their tests for 64-bit Windows with mingw-w64 and runs the tests under Wine,
# in a Wine prefix of its own that is removed afterwards; the desktop tests drive the program, and
# the installer built from it, in prefixes of their own.
# Usage: scripts/test-windows.sh [BUILD_DIR]   (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")

# wine64-preloader reserves Wine's fixed addresses before the kernel places anything there;
# without it about one start in a few thousand fails ("failed to map the shared user data").
# librsvg2-bin rasterises the skins; dpkg-dev unpacks curl's sources; the mail tests talk to
# aiosmtpd; nsis builds the installer; the desktop tests drive the program on Xvfb with openbox,
# trayer and xdotool, and read the screen with python3; locales gives Wine a Russian system.
packages=(g++-mingw-w64-x86-64-posix wine wine64 wine64-preloader cmake ninja-build googletest
          librsvg2-bin dpkg-dev python3-aiosmtpd nsis xvfb xauth openbox trayer xdotool x11-utils
          python3 fonts-liberation locales)
source "$root/scripts/install-missing.sh"
install_missing "${packages[@]}"

source "$root/scripts/windows-build.sh"
configure_windows_tree "$build"
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

# Drives of every type the drive panel must tell apart: a removable one, an optical one and a
# network one, each a folder of the scratch area.
source "$root/tests/support/wine_drives.sh"
map_wine_drives "$scratch/drives" f=floppy r=cdrom n=network
# Wine's mount manager reads a folder drive's label from this file when it starts.
echo STICK > "$scratch/drives/f/.windows-label"
wineserver -k
wineserver -w
start_wine
# The tests compare what Windows answers with these (letter=type, :label where set).
export TARNWICK_TEST_DRIVES="F=removable:STICK R=cdrom N=remote"

cd "$build/tarnwick"
ctest --output-on-failure -j 2 --timeout 300

# The installer: installed silently, started from the Start menu, ended with Exit, uninstalled
# silently, nothing left.
wineserver -k
wineserver -w
setup=$(bash "$root/scripts/package-windows.sh" "$build" | tail -n 1)
bash "$root/tests/desktop/installer_win32_test.sh" "$setup" "$tarnwick_version"
