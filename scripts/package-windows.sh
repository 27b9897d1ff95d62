#!/usr/bin/env bash
# Builds the Windows installer: cross-builds tarnwick.exe, twkd.dll and the settings helper
# tarnwick-settings.exe in BUILD_DIR/tarnwick and packs them with the language files into
# BUILD_DIR/installer/tarnwick-VERSION-setup.exe with makensis.
# Usage: scripts/package-windows.sh [BUILD_DIR]   (default: build-windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")

source "$root/scripts/install-missing.sh"
install_missing g++-mingw-w64-x86-64-posix cmake ninja-build googletest dpkg-dev librsvg2-bin nsis
source "$root/scripts/windows-build.sh"
configure_windows_tree "$build"
targets=(tarnwick twkd tarnwick-settings)
cmake --build "$build/tarnwick" -j 2 --target "${targets[@]}"

program="$build/tarnwick/bin"
staging="$build/installer/files"
rm -rf "$build/installer"
mkdir -p "$staging/languages"
# The shipped files without their debugging symbols.
for target in "${targets[@]}"; do
    file=$( [[ $target == twkd ]] && echo twkd.dll || echo "$target.exe")
    x86_64-w64-mingw32-strip -o "$staging/$file" "$program/$file"
done
cp "$program/languages/"*.twl "$staging/languages/"

# Each file once, installed by File and removed by Delete, so the uninstaller takes exactly what
# the installer put there.
{
    echo '!macro InstallFiles'
    echo '    SetOutPath "$INSTDIR"'
    (cd "$staging" && find . -maxdepth 1 -type f -printf '    File "files\\%P"\n' | sort)
    echo '    SetOutPath "$INSTDIR\languages"'
    (cd "$staging" && find languages -type f -printf '    File "files\\languages\\%f"\n' | sort)
    echo '!macroend'
    echo '!macro RemoveFiles'
    (cd "$staging" && find . -type f -printf '%P\n' | sort | sed 's|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|')
    echo '!macroend'
} > "$build/installer/files.nsh"

setup="$build/installer/tarnwick-$tarnwick_version-setup.exe"
(cd "$build/installer" && makensis -NOCD -V2 -DVERSION="$tarnwick_version" -DFILES="$build/installer/files.nsh" \
    -DOUT_FILE="$setup" "$root/installer/tarnwick.nsi")
echo "$setup"
