#!/usr/bin/env bash
# Builds the Debian package with `dpkg-buildpackage -b -us -uc`, installing the build
# dependencies that are missing first. dpkg-buildpackage puts tarnwick_<version>_<arch>.deb
# into the folder above the tree; the script prints its path last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/install-missing.sh"
install_missing dpkg-dev debhelper
cd "$root"
# apt-get build-dep reads the build dependencies from the tree's debian/control.
dpkg-checkbuilddeps 2>/dev/null || apt_get build-dep "$root"
dpkg-buildpackage -b -us -uc
version=$(dpkg-parsechangelog -S Version)
realpath "$root/../tarnwick_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).deb"
