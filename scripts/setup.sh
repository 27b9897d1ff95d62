#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs that are missing, then configures and builds.
# Usage: scripts/setup.sh [--fuzz] BUILD_DIR [extra cmake arguments...]
# --fuzz adds clang and its libFuzzer runtime for the fuzz build.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    libcurl4-openssl-dev libgtest-dev
    fonts-liberation xvfb xauth xdotool
    python3 python3-aiosmtpd
)
# The mail tests relay through msmtp as /usr/sbin/sendmail. An MTA already in its place stays:
# installing msmtp-mta would remove it.
[[ -e /usr/sbin/sendmail ]] || packages+=(msmtp-mta)
if [[ ${1:-} == --fuzz ]]; then
    packages+=(clang-14 libclang-rt-14-dev)
    shift
fi

source "$(dirname "$0")/install-missing.sh"
install_missing "${packages[@]}"

build_dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja "$@" > /dev/null
cmake --build "$build_dir" -j "$(nproc)"
