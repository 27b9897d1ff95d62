#!/usr/bin/env bash
# End-to-end test of a save by an administrator who is not root, over the real parts: a system
# D-Bus and polkitd from Debian, pkexec, the settings helper and its polkit policy installed from
# the build (cmake --install, prefix /usr), and a polkit rule that lets one test user change the
# settings without a password and refuses another. Both users (members of sudo, not root) save the
# protection switch and the options through the program's own save code
# (tests/children/privileged_save_driver.cpp). The first must store both, whole and owned by root,
# with the autostart entry; the second must be told "could not be saved" and change nothing.
# Runs as root; stops what it started and puts back or removes every file it installed or wrote.
# Usage: scripts/test-privileged-save.sh [BUILD_DIR]   (default: build, as scripts/test.sh makes it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
[[ $(id -u) -eq 0 ]] || { echo "test-privileged-save.sh needs root" >&2; exit 1; }

source "$root/scripts/install-missing.sh"
install_missing dbus-daemon dbus-bin polkitd pkexec
cmake --build "$build" --target tarnwick-settings privileged_save_driver > /dev/null

config=$(sed -n 's/^TARNWICK_SYSTEM_CONFIG_DIR:PATH=//p' "$build/CMakeCache.txt")
[[ $config == /* ]] || { echo "no system configuration directory in $build" >&2; exit 1; }
program_dir=/usr/lib/tarnwick
helper=$program_dir/tarnwick-settings
policy=/usr/share/polkit-1/actions/org.brindle.tarnwick.change-settings.policy
rule=/etc/polkit-1/rules.d/10-tarnwick-test.rules
store=$config/registry/HKEY_LOCAL_MACHINE/Software/Brindle/Tarnwick.reg
autostart=$config/autostart/org.brindle.tarnwick.desktop
allowed=tarnwick-test-allowed
refused=tarnwick-test-refused
touched=("$helper" "$policy" "$rule" "$store" "$store.lock" "$autostart" /etc/machine-id)

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-privileged.XXXXXX")
chmod 755 "$scratch"
started=()
bus_started=0
created_users=()
created_dirs=()

# Every touched file is kept aside and put back (or removed) at the end.
mkdir "$scratch/kept"
for file in "${touched[@]}"; do
    [[ -e $file ]] && cp -a "$file" "$scratch/kept/$(echo "$file" | tr / _)"
done
for dir in "$program_dir" "$config/registry" "$config/autostart" /run/dbus; do
    [[ -d $dir ]] || created_dirs+=("$dir")
done

clean_up() {
    local pid user file kept dir
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true  # polkitd is this shell's child, the forked bus is not
        while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
    done
    # A bus of this test's own leaves its pid file, which would stop the next one from starting.
    ((bus_started)) && rm -f /run/dbus/pid /run/dbus/system_bus_socket
    for user in "${created_users[@]}"; do userdel "$user" 2>/dev/null || true; done
    for file in "${touched[@]}"; do
        kept="$scratch/kept/$(echo "$file" | tr / _)"
        if [[ -e $kept ]]; then cp -a "$kept" "$file"; else rm -f "$file"; fi
    done
    for dir in "${created_dirs[@]}"; do rm -rf "$dir"; done
    rm -rf "$scratch"
}
trap clean_up EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The helper and its policy, as the package installs them.
cmake --install "$build" --prefix /usr --component settings_helper > /dev/null
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$helper</annotate>" "$policy" ||
    fail "the policy does not name $helper"

for user in "$allowed" "$refused"; do
    if ! id "$user" > /dev/null 2>&1; then
        useradd --no-create-home --shell /bin/sh --groups sudo "$user"
        created_users+=("$user")
    fi
done
cat > "$rule" <<RULE
polkit.addRule(function(action, subject) {
    if (action.id != "org.brindle.tarnwick.change-settings") return polkit.Result.NOT_HANDLED;
    if (subject.user == "$allowed") return polkit.Result.YES;
    if (subject.user == "$refused") return polkit.Result.NO;
    return polkit.Result.NOT_HANDLED;
});
RULE

# A system bus and polkitd of this test's own, started after the policy and the rule are in place
# so that polkitd reads them at once.
bus_owner() {
    dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q "boolean true"
}
if ! dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetId > /dev/null 2>&1; then
    mkdir -p /run/dbus
    dbus-uuidgen --ensure=/etc/machine-id
    started+=("$(dbus-daemon --system --fork --print-pid)")
    bus_started=1
fi
if ! bus_owner org.freedesktop.PolicyKit1; then
    /usr/lib/polkit-1/polkitd --no-debug > "$scratch/polkitd.log" 2>&1 &
    started+=("$!")
fi
for _ in $(seq 100); do
    bus_owner org.freedesktop.PolicyKit1 && pkaction --action-id org.brindle.tarnwick.change-settings \
        > /dev/null 2>&1 && break
    sleep 0.1
done
pkaction --action-id org.brindle.tarnwick.change-settings > /dev/null || fail "polkitd lacks the action"

# The driver runs from a folder every user may enter.
cp "$build/tests-bin/privileged_save_driver" "$scratch/"
driver=$scratch/privileged_save_driver
save_as() { su -s /bin/sh "$1" -c "$driver $helper"; }
stored() { grep -q "^\"$1\"=\"$2\"\$" "$store"; }

# An administrator whom polkit lets through: both saves stored, each keeping the other's change.
rm -f "$store" "$autostart"
output=$(save_as "$allowed") || fail "the allowed user's saves failed: $output"
grep -q "^protection saved$" <<< "$output" || fail "protection: $output"
# The confirmation speaks the language the save just chose.
grep -qE "^box: (Options is saved!|Die Optionen wurden gespeichert!)$" <<< "$output" ||
    fail "options: $output"
[[ $(stat -c %U:%a "$store") == root:644 ]] || fail "store owner and mode: $(stat -c %U:%a "$store")"
head -1 "$store" | grep -q "^Windows Registry Editor Version 5.00$" || fail "store header"
for name in Language SaveReports DirectoryReports DirectoryQuarantine StartWindows Recipient \
    SendReports Shedule Time EveryWeek EveryMonth Guard; do
    grep -q "^\"$name\"=\"" "$store" || fail "$name missing from the store"
done
stored Guard 1 || fail "the options save reverted the protection: $(cat "$store")"
stored Language Deutsch || fail "language not stored: $(cat "$store")"
stored StartWindows 1 || fail "StartWindows not stored"
[[ $(stat -c %U "$autostart") == root ]] || fail "no autostart entry owned by root"
grep -q "^Exec=\"$program_dir/tarnwick\"$" "$autostart" || fail "autostart entry: $(cat "$autostart")"

# An administrator whom polkit refuses: told, and nothing changes.
cp -a "$store" "$scratch/store-before"
if output=$(save_as "$refused"); then fail "the refused user's saves were stored"; fi
grep -q "^protection not saved$" <<< "$output" || fail "protection: $output"
grep -q "^box: The options could not be saved. Check that you may change the settings.$" \
    <<< "$output" || fail "options: $output"
cmp -s "$store" "$scratch/store-before" || fail "the refused saves changed the store"
[[ -e $autostart ]] || fail "the refused saves removed the autostart entry"

echo "privileged saves: stored for the allowed administrator, refused for the other"
