#!/usr/bin/env bash
# A real `cmake --install` of the build, into prefixes given only at install time: every file
# lands under the prefix (the report folders under /var for /usr), staged under DESTDIR when it
# is set, and the installed layout holds together.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "install_test: $*" >&2
    exit 1
}

# Installs with prefix and DESTDIR destdir (may be empty), then checks what appeared under
# watched: every file, link and empty folder lies in the prefix or in the report data folder.
install_and_check() {
    local watched=$1 destdir=$2 prefix=$3 data=$4
    DESTDIR=$destdir cmake --install "$build" --prefix "$prefix" > /dev/null
    local top=$destdir$prefix reports=$destdir$data/lib/tarnwick path
    while IFS= read -r path; do
        [[ $path == "$top"/* || $path == "$reports"/* ]] || fail "--prefix $prefix wrote $path"
    done < <(find "$watched" \( -type f -o -type l -o -type d -empty \))

    [[ $(readlink -f "$top/bin/tarnwick") == "$top/lib/tarnwick/tarnwick" ]] ||
        fail "$top/bin/tarnwick does not lead to the installed program"
    [[ -x $top/lib/tarnwick/tarnwick && -f $top/lib/tarnwick/libtwkd.so ]] ||
        fail "no program folder in $top/lib/tarnwick"
    local folder
    for folder in "$reports"/{reports,quarantine}/"sended reports"; do
        [[ -d $folder && $(stat -c %a "$folder") == 755 ]] || fail "no folder $folder, mode 755"
    done
    grep -q "exec.path\">$prefix/lib/tarnwick/tarnwick-settings</annotate>" \
        "$top/share/polkit-1/actions/org.brindle.tarnwick.change-settings.policy" ||
        fail "the polkit policy does not name $prefix/lib/tarnwick/tarnwick-settings"
}

# A prefix of the user's own, as `cmake --install build --prefix DIR` is used.
install_and_check "$work" "" "$work/prefix" "$work/prefix/var"
# The system prefix, staged as a package build does it; variable data goes to /var.
mkdir "$work/stage"
install_and_check "$work/stage" "$work/stage" /usr /var
echo "install_test: everything under the prefix given at install time"
