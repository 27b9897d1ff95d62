#!/usr/bin/env bash
# Installs the Debian packages Tarnwick needs that are missing, then configures and builds.
# Usage: scripts/setup.sh [--fuzz] [--target NAME]... BUILD_DIR [extra cmake arguments...]
# --fuzz adds clang and its libFuzzer runtime for the fuzz build; --target builds only the named
# targets and what they need instead of everything.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev qt6-translations-l10n
    libcurl4-openssl-dev libudev-dev libgtest-dev
    fonts-liberation xvfb xauth xdotool
    python3 python3-aiosmtpd
)
# The mail tests relay through msmtp as /usr/sbin/sendmail. An MTA already in its place stays:
# installing msmtp-mta would remove it.
[[ -e /usr/sbin/sendmail ]] || packages+=(msmtp-mta)
targets=()
while [[ ${1:-} == --* ]]; do
    case $1 in
        --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
        --target) targets+=(--target "$2"); shift ;;
        *) echo "setup.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

source "$(dirname "$0")/install-missing.sh"
install_missing "${packages[@]}"

build_dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja "$@" > /dev/null
cmake --build "$build_dir" -j "$(nproc)" "${targets[@]}"
