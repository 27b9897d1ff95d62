# Sourced by the set-up scripts: installs the Debian packages among its arguments that are not
# installed yet, running apt-get update only when something is missing.
install_missing() {
    local package status missing=()
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    apt_get install "${missing[@]}"
}

# apt-get update, then apt-get with the given arguments (install, build-dep), through sudo for
# a user.
apt_get() {
    local sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    # Recommends would pull desktop themes that replace Qt's own dialogs.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq --no-install-recommends "$@"
}
