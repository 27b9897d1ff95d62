#!/usr/bin/env bash
# The package as a user gets it: builds it, checks it with lintian and the desktop validators,
# installs it with apt, runs the installed program as an ordinary user under Xvfb beside a tray
# host, saves "start with the session" as an administrator's save does, removes the package (the
# autostart entry stays, but names a program that is gone), then purges it and checks that no
# file of it is left. A failing step purges the package too. Needs root (CI runs it as root).
# Usage: scripts/test-package.sh [DEB]   (a package built before; without it, builds one)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/install-missing.sh"
install_missing lintian desktop-file-utils appstream xvfb xauth trayer xdotool dbus-daemon procps

user=tarnwick-smoke
marker="SMOKE-STICK-$$"
sample=/var/lib/tarnwick/reports/smoke-devices.csv
autostart=/etc/xdg/autostart/org.brindle.tarnwick.desktop
work=$(mktemp -d)
installed=0

# On every end: the test's traces go; after a failure the package goes too.
clean_up() {
    local status=$?
    if ((status != 0)); then
        remove_test_traces || true
        if ((installed)); then
            echo "test-package: purging the package after the failure" >&2
            DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarnwick > /dev/null || true
        fi
    fi
    rm -rf "$work"
}
trap clean_up EXIT

fail() {
    echo "test-package: $*" >&2
    exit 1
}

# Every path of the system's own folders that a package could touch, one a line, sorted.
system_files() {
    find /etc /usr /var /opt /srv -xdev \
        \( -path /var/cache -o -path /var/log -o -path /var/tmp -o -path /var/lib/apt \
           -o -path /var/lib/dpkg -o -path /var/backups \) -prune -o -print | sort
}

check_package() {
    lintian --fail-on error,warning "$deb"
    mkdir "$work/deb"
    dpkg-deb -x "$deb" "$work/deb"
    desktop-file-validate "$work"/deb/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$work"/deb/usr/share/metainfo/*.metainfo.xml
    echo "lintian, desktop-file-validate and appstreamcli validate: no complaint"
}

install_package() {
    system_files > "$work/before"
    installed=1
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb"
    [[ $(readlink -f /usr/bin/tarnwick) == /usr/lib/tarnwick/tarnwick ]] ||
        fail "/usr/bin/tarnwick does not lead into /usr/lib/tarnwick"
    local folder
    for folder in /var/lib/tarnwick/{reports,quarantine}{,/"sended reports"}; do
        [[ $(stat -c '%U %a' "$folder") == "root 755" ]] || fail "$folder is not root's, 755"
    done
    dpkg -L tarnwick | grep -vx '/\.' > "$work/package-files"
    find /usr/lib/tarnwick | sort > "$work/program-folder"
}

# An ordinary user: no administrator group, its own runtime folder as a login would give it.
make_user() {
    useradd --create-home --user-group --shell /bin/bash "$user"
    local groups
    groups=$(id -nG "$user")
    [[ " $groups " != *" sudo "* && " $groups " != *" admin "* && " $groups " != *" wheel "* ]] ||
        fail "$user is in an administrator group: $groups"
    install -d -m 0700 -o "$user" -g "$user" "/run/user/$(id -u "$user")"
}

# What the guard service would write: one devices report in the installed report folder.
write_sample_report() {
    printf '%s\r\n' \
        "PC;User;Time;Function;Name;Path;Description;Service;Enumerator name; Hardware ID;Manafacturing;Serial number" \
        "DESK-7;ann;11.01.2013 19:52:21;Connect;$marker;E:\\;USB stick;USBSTOR;USB;VID_0781;SanDisk;4C53" \
        > "$sample"
}

# Runs as the user, on a display of its own. Each step waits for what a person would see,
# within a bound that only a hung or missing window reaches.
smoke_as_user() {
    set -euo pipefail
    fail() {
        echo "test-package (as $USER): $*" >&2
        exit 1
    }
    local display=90
    while [[ -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
    export DISPLAY=:$display
    # Not local: the exit trap still needs them when the function has returned.
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp &
    xvfb=$! tray="" first=""
    stop() {
        [[ -z "$first" ]] || kill "$first" 2>/dev/null || true
        [[ -z "$tray" ]] || kill "$tray" 2>/dev/null || true
        kill "$xvfb" 2>/dev/null || true
        wait 2>/dev/null || true
    }
    trap stop EXIT
    timeout 20 bash -c 'until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.2; done'
    trayer --edge top --align left --widthtype request --height 32 --SetDockType false &
    tray=$!
    timeout 20 xdotool search --sync --class trayer >/dev/null

    # Visible top-level windows titled "Tarnwick": the pages and any message box.
    tarnwick_windows() { xdotool search --onlyvisible --name '^Tarnwick$' 2>/dev/null || true; }
    window_size() { xdotool getwindowgeometry "$1" | sed -n 's/ *Geometry: //p'; }

    /usr/bin/tarnwick &
    first=$!
    local main
    main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarnwick$' | head -1) ||
        fail "no main window within 20 s"
    sleep 2  # time for a message box of the start to show up too
    [[ $(tarnwick_windows | wc -l) -eq 1 ]] || fail "more than the main window showed"
    [[ $(window_size "$main") == 640x480 ]] || fail "the window that showed is not the main window"
    [[ $(stat -c %a "$HOME/.cache/tarnwick") == 700 ]] ||
        fail "the user's folder is not the user's alone"

    # The report page lists what the guard service wrote: saved to disk, it holds the sample.
    xdotool mousemove --window "$main" 313 231 click 1   # the reports button
    local page="" tries
    for tries in {1..50}; do
        page=$(tarnwick_windows | grep -vx "$main" | head -1)
        [[ -z "$page" ]] || break
        sleep 0.2
    done
    [[ -n "$page" ]] || fail "no report page"
    xdotool mousemove --window "$page" 460 448 click 1   # "Save to disk"
    timeout 10 xdotool search --sync --onlyvisible --name '^Save As$' >/dev/null ||
        fail "no save dialog"
    xdotool type --delay 20 "$HOME/shown.csv"
    xdotool key Return
    timeout 10 bash -c 'until [[ -s "$HOME/shown.csv" ]]; do sleep 0.2; done' ||
        fail "the report page saved nothing"
    # The confirmation box is modal: until it is answered the tray icon takes no click.
    other_windows() { tarnwick_windows | grep -vx -e "$main" -e "$page" || true; }
    local box=""
    for tries in {1..50}; do
        box=$(other_windows | head -1)
        [[ -z "$box" ]] || break
        sleep 0.2
    done
    [[ -n "$box" ]] || fail "no confirmation of the save"
    xdotool key Return
    for tries in {1..50}; do
        [[ -n $(other_windows) ]] || break
        sleep 0.2
    done
    [[ -z $(other_windows) ]] || fail "the confirmation did not close on Return"
    grep -q "$MARKER" "$HOME/shown.csv" || fail "the report page does not show the sample report"

    # A second start ends by itself, silently, and brings the hidden main window up.
    timeout 30 /usr/bin/tarnwick || fail "a second start did not end silently: status $?"
    for tries in {1..50}; do
        tarnwick_windows | grep -qx "$main" && break
        sleep 0.2
    done
    tarnwick_windows | grep -qx "$main" || fail "a second start left the main window hidden"

    # Exit, the last entry of the tray icon's menu, ends the first.
    # The icon and the menu are the program's untitled windows, named after it.
    program_windows() { xdotool search --onlyvisible --pid "$first" --name '^tarnwick$' | sort; }
    local panel before
    # Search matches one pattern: trayer's windows by class, then the one named "panel".
    for panel in $(xdotool search --class '^trayer$'); do
        [[ $(xdotool getwindowname "$panel") == panel ]] && break
    done
    [[ $(window_size "$panel") != 2x32 ]] || fail "no icon in the tray"  # 2 pixels when empty
    before=$(program_windows)
    xdotool mousemove --window "$panel" 12 16 click 3   # the one icon in the tray
    for tries in {1..50}; do
        [[ $(program_windows) == "$before" ]] || break
        sleep 0.2
    done
    [[ $(program_windows) != "$before" ]] || fail "no tray menu"
    xdotool key Up Return
    local status=0
    timeout 20 bash -c "while kill -0 $first 2>/dev/null; do sleep 0.2; done" ||
        fail "Exit in the tray menu did not end the program"
    wait "$first" || status=$?
    first=""
    [[ $status -eq 0 ]] || fail "Exit in the tray menu ended the program with status $status"
    echo "installed program: main window, report page, second start, tray Exit: as expected"
}

# The user's programs run in a session bus of the test's own, as a login gives one; without it
# a program would start buses of its own (an X session's, an accessibility bus) that outlive it.
run_smoke_test() {
    make_user
    write_sample_report
    runuser -u "$user" -- env -i HOME="/home/$user" USER="$user" PATH=/usr/bin:/bin \
        LANG=C.UTF-8 XDG_RUNTIME_DIR="/run/user/$(id -u "$user")" MARKER="$marker" \
        dbus-run-session -- bash -c "$(declare -f smoke_as_user); smoke_as_user"
    find /usr/lib/tarnwick | sort | cmp -s - "$work/program-folder" ||
        fail "the program wrote into its program folder"
}

# What of the user still runs once its session has ended is ended too, as a logout would, so
# that the user can be removed.
end_user_processes() {
    local signal tries
    for signal in "" TERM KILL; do
        if [[ -n $signal ]]; then
            echo "test-package: SIG$signal to what $user left: $(pgrep -l -u "$user" | tr '\n' ' ')" >&2
            pkill "-$signal" -u "$user" || true
        fi
        for tries in {1..50}; do
            pgrep -u "$user" > /dev/null || return 0
            sleep 0.1
        done
    done
    fail "what $user left running does not end"
}

# The test's own traces go first: the sample report, the user and its home.
remove_test_traces() {
    rm -f "$sample"
    id "$user" > /dev/null 2>&1 || return 0
    end_user_processes
    rm -rf "/run/user/$(id -u "$user")"
    # Its complaint of a missing mail spool is no matter; a refusal is.
    userdel --remove "$user" 2> "$work/userdel" || fail "userdel: $(cat "$work/userdel")"
}

# "Start with the session" saved as an administrator's save does it (the installed settings
# helper, which pkexec starts for one): the autostart entry names the installed program, also
# in TryExec, so that once the package is removed (the entry stays until a purge) every session
# skips it instead of failing to start it.
check_autostart_after_removal() {
    local name request=""
    for name in Language SaveReports DirectoryReports DirectoryQuarantine Recipient SendReports \
        Shedule Time EveryWeek EveryMonth Guard; do
        request+="keep $name="$'\n'
    done
    printf '%sset StartWindows=1\n' "$request" | /usr/lib/tarnwick/tarnwick-settings ||
        fail "the settings helper did not save"
    desktop-file-validate "$autostart"
    grep -qx 'TryExec=/usr/lib/tarnwick/tarnwick' "$autostart" ||
        fail "the autostart entry has no TryExec naming the program: $(cat "$autostart")"
    grep -qx 'Exec="/usr/lib/tarnwick/tarnwick"' "$autostart" ||
        fail "the autostart entry does not start the program: $(cat "$autostart")"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tarnwick
    [[ -f $autostart ]] || fail "apt remove took the autostart entry, which only a purge takes"
    [[ ! -e /usr/lib/tarnwick/tarnwick ]] || fail "apt remove left the program"
    echo "autostart entry: TryExec names the program; after apt remove it names nothing"
}

purge_package() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tarnwick
    system_files > "$work/after"
    local path left=()
    # New paths that no installed package owns (dependencies apt brought in stay, owned).
    while IFS= read -r path; do
        dpkg -S "$path" >/dev/null 2>&1 || left+=("$path")
    done < <(comm -13 "$work/before" "$work/after")
    while IFS= read -r path; do
        [[ -e $path || -L $path ]] && ! dpkg -S "$path" >/dev/null 2>&1 && left+=("$path")
    done < "$work/package-files"
    ((${#left[@]} == 0)) || fail "purge left: $(printf '%s\n' "${left[@]}" | sort -u)"
    echo "purge left no file of the package"
}

deb=${1:-}
if [[ -z "$deb" ]]; then
    # The build's output goes on to this script's own output; reopening /dev/stderr instead
    # would cut a log file that it is written to back to nothing.
    bash "$root/scripts/package.sh" | tee "$work/package.log"
    deb=$(tail -1 "$work/package.log")
fi
echo "package: $deb"
check_package
install_package
run_smoke_test
remove_test_traces
check_autostart_after_removal
purge_package
