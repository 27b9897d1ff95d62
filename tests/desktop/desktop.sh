# Sourced by the tests that drive a program on a desktop: an X server (Xvfb), a window manager
# (openbox) and a tray host (trayer), with xdotool's mouse and keys. open_desktop_test makes the
# test's scratch folder and cleans up at exit: the program started as tarnwick_pid ends, then
# whatever on_cleanup (when defined) stops, then the pids in desktop_pids.

# Skips the test (status 77) when a tool is missing; installer names the script that installs it.
require_tools() { # installer tool...
    local installer=$1 tool
    shift
    for tool in "$@"; do
        if ! command -v "$tool" > /dev/null; then
            echo "SKIP: $tool is not installed ($installer installs it)"
            exit 77
        fi
    done
}

# A scratch folder named after name, removed at exit with everything the test started.
open_desktop_test() { # name
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
    desktop_pids=()
    tarnwick_pid=""
    failures=0
    trap finish EXIT
}
finish() {
    [[ -n $tarnwick_pid ]] && kill "$tarnwick_pid" 2> /dev/null
    [[ $(type -t on_cleanup) == function ]] && on_cleanup
    for pid in "${desktop_pids[@]}"; do kill "$pid" 2> /dev/null; done
    wait 2> /dev/null
    rm -rf "$scratch"
}

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Polls a command until it succeeds; false when it never did within a generous limit.
eventually() {
    local tries
    for ((tries = 0; tries < 300; tries++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Now and then trayer cannot open a display that openbox has just opened, and then never shows:
# it is started again when it has not shown within three seconds.
start_tray() {
    trayer --edge top --align right --widthtype pixel --width 200 --heighttype pixel --height 32 \
        >> "$scratch/trayer.log" 2>&1 &
    tray_pid=$!
    desktop_pids+=("$tray_pid")
}
tray_polls=0
tray_shown() {
    tray_window=$(xdotool search --onlyvisible --class "^trayer$" 2> /dev/null | head -n 1)
    [[ -n $tray_window ]] && return 0
    if ((++tray_polls % 30 == 0)); then
        kill "$tray_pid" 2> /dev/null
        start_tray
    fi
    return 1
}

# The X server, the window manager and the tray host; DISPLAY names them afterwards.
start_desktop() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$scratch/display" \
        2> "$scratch/xvfb.log" &
    desktop_pids+=($!)
    eventually test -s "$scratch/display" || { echo "Xvfb did not start"; return 1; }
    export DISPLAY=":$(cat "$scratch/display")"
    openbox > "$scratch/openbox.log" 2>&1 &
    desktop_pids+=($!)
    start_tray
    if ! eventually tray_shown; then
        echo "no tray on $DISPLAY"
        cat "$scratch/trayer.log" "$scratch/openbox.log" "$scratch/xvfb.log"
        ps -o pid,stat,cmd -p "${desktop_pids[@]}"
        return 1
    fi
}

# Pages and the main window are titled "Tarnwick".
visible_pages() { xdotool search --onlyvisible --name '^Tarnwick$' 2> /dev/null; }
some_page_shows() { [[ -n $(visible_pages) ]]; }
only_page_is() { [[ $(visible_pages) == "$1" ]]; }
no_page_shows() { [[ -z $(visible_pages) ]]; }
another_page_shows() { local shown; shown=$(visible_pages); [[ -n $shown && $shown != "$1" ]]; }
geometry_of() { xdotool getwindowgeometry --shell "$1"; }

# The tray menu: a window of the program that is no page.
find_menu() {
    local id
    for id in $(xdotool search --onlyvisible --classname 'tarnwick' 2> /dev/null); do
        [[ $(xdotool getwindowname "$id" 2> /dev/null) == Tarnwick ]] && continue
        eval "$(geometry_of "$id")"
        if ((WIDTH > 48 && HEIGHT > 48)); then
            menu_x=$X menu_y=$Y menu_width=$WIDTH menu_height=$HEIGHT
            return 0
        fi
    done
    return 1
}
# The menu opens on the release of the right button over the icon (icon_x, icon_y, which the
# test's find_icon sets), tried tray_menu_clicks times.
tray_menu_clicks=1
open_tray_menu() {
    local attempt
    for ((attempt = 0; attempt < tray_menu_clicks; attempt++)); do
        xdotool mousemove "$icon_x" "$icon_y" click 3
        eventually find_menu && return 0
    done
    return 1
}
# Exit is the tray menu's last item.
click_exit_in_tray_menu() {
    open_tray_menu || return 1
    xdotool mousemove $((menu_x + menu_width / 2)) $((menu_y + menu_height - 8)) click 1
}

# The program started as tarnwick_pid has ended, with status 0.
has_exited() { ! kill -0 "$tarnwick_pid" 2> /dev/null; }
expect_exit_status_0() { # scenario
    local status
    if ! eventually has_exited; then
        fail "$1: still running after Exit"
        return
    fi
    wait "$tarnwick_pid"
    status=$?
    tarnwick_pid=""
    ((status == 0)) || fail "$1: ended with status $status"
}
