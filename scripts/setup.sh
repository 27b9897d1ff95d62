#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs that are missing, then configures and builds.
# Usage: scripts/setup.sh [--fuzz] BUILD_DIR [extra cmake arguments...]
# --fuzz adds clang and its libFuzzer runtime for the fuzz build.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    libcurl4-openssl-dev libgtest-dev
    fonts-liberation xvfb xauth
    python3 python3-aiosmtpd
)
if [[ ${1:-} == --fuzz ]]; then
    packages+=(clang-14 libclang-rt-14-dev)
    shift
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    # Recommends would pull desktop themes that replace Qt's own dialogs.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja "$@" > /dev/null
cmake --build "$build_dir" -j "$(nproc)"
