#!/usr/bin/env bash
# The real program on a desktop, driven as a user drives it: an X server (Xvfb), a window manager
# (openbox) and a tray host (trayer), with the mouse and keys of xdotool.
# Usage: desktop_test.sh PROGRAM
# Exits 77 (skipped) when one of those programs is missing; scripts/test.sh installs them.
set -uo pipefail
program=$1

for tool in Xvfb openbox trayer xdotool; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed (scripts/test.sh installs it)"
        exit 77
    fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-desktop.XXXXXX")
desktop_pids=()
tarnwick_pid=""
finish() {
    [[ -n $tarnwick_pid ]] && kill "$tarnwick_pid" 2> /dev/null
    for pid in "${desktop_pids[@]}"; do kill "$pid" 2> /dev/null; done
    wait 2> /dev/null
    rm -rf "$scratch"
}
trap finish EXIT

failures=0
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

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$scratch/display" 2> "$scratch/xvfb.log" &
desktop_pids+=($!)
eventually test -s "$scratch/display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$scratch/display")"
openbox > "$scratch/openbox.log" 2>&1 &
desktop_pids+=($!)
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
    xdotool search --onlyvisible --class "^trayer$" > /dev/null && return 0
    if ((++tray_polls % 30 == 0)); then
        kill "$tray_pid" 2> /dev/null
        start_tray
    fi
    return 1
}
start_tray
eventually tray_shown || { echo "no tray on $DISPLAY"; cat "$scratch/trayer.log" "$scratch/openbox.log" "$scratch/xvfb.log"; ps -o pid,stat,cmd -p "${desktop_pids[@]}"; exit 1; }

# The program's own folders for this run: its lock, its cache and an empty settings store.
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CACHE_HOME="$scratch/cache"
export XDG_CONFIG_DIRS="$scratch/config" HOME="$scratch/home" QT_QPA_PLATFORM=xcb

# Windows of the program: pages and the main window are titled "Tarnwick"; the tray icon is a
# small window of the program's class inside the tray; the tray menu is a larger untitled one.
visible_pages() { xdotool search --onlyvisible --name '^Tarnwick$' 2> /dev/null; }
program_windows() { xdotool search --onlyvisible --classname '^tarnwick$' 2> /dev/null; }
geometry_of() { xdotool getwindowgeometry --shell "$1"; }
find_icon() {
    local id
    for id in $(program_windows); do
        eval "$(geometry_of "$id")"
        if ((WIDTH <= 48 && HEIGHT <= 48)); then
            icon_x=$((X + WIDTH / 2)) icon_y=$((Y + HEIGHT / 2))
            return 0
        fi
    done
    return 1
}
find_menu() {
    local id
    for id in $(program_windows); do
        [[ $(xdotool getwindowname "$id") == Tarnwick ]] && continue
        eval "$(geometry_of "$id")"
        if ((WIDTH > 48 && HEIGHT > 48)); then
            menu_x=$X menu_y=$Y menu_width=$WIDTH menu_height=$HEIGHT
            return 0
        fi
    done
    return 1
}
some_page_shows() { [[ -n $(visible_pages) ]]; }
only_page_is() { [[ $(visible_pages) == "$1" ]]; }
no_page_shows() { [[ -z $(visible_pages) ]]; }
another_page_shows() { local shown; shown=$(visible_pages); [[ -n $shown && $shown != "$1" ]]; }
has_exited() { ! kill -0 "$tarnwick_pid" 2> /dev/null; }

start_tarnwick() {
    "$program" > "$scratch/tarnwick.log" 2>&1 &
    tarnwick_pid=$!
    eventually find_icon || { fail "$1: no tray icon"; return 1; }
    eventually some_page_shows || { fail "$1: no main window"; return 1; }
    main_window=$(visible_pages)
}

# Clicks at x, y of the main window's design (in pixels from its top left corner), with the left
# button or the one given.
click_in_main() {
    eval "$(geometry_of "$main_window")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click "${3:-1}"
}

open_tray_menu() {
    xdotool mousemove "$icon_x" "$icon_y" click 3
    eventually find_menu
}

expect_exit_status_0() {
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

scenario="Exit chosen with the mouse"
if start_tarnwick "$scenario"; then
    if open_tray_menu; then
        # Exit is the menu's last item.
        xdotool mousemove $((menu_x + menu_width / 2)) $((menu_y + menu_height - 8)) click 1
    else
        fail "$scenario: no tray menu"
    fi
    expect_exit_status_0 "$scenario"
fi

scenario="Exit chosen with Up and Enter while the information page is open"
if start_tarnwick "$scenario"; then
    # Presses on the window's top row are no tray actions: no menu opens to take the next click.
    for x in 2 3 5; do click_in_main "$x" 0 3; click_in_main "$x" 0; done
    click_in_main 49 25  # the information button
    eventually another_page_shows "$main_window" || fail "$scenario: no information page"
    find_menu && fail "$scenario: a press on the main window opened the tray menu"
    open_tray_menu || fail "$scenario: no tray menu"
    xdotool key Up key Return
    expect_exit_status_0 "$scenario"
fi

scenario="Back from the tray and from a page closed by the window manager"
if start_tarnwick "$scenario"; then
    click_in_main 614 22  # the close button hides the main window to the tray
    eventually no_page_shows || fail "$scenario: the close button left the main window shown"
    xdotool mousemove "$icon_x" "$icon_y" click 1
    eventually only_page_is "$main_window" || fail "$scenario: a click on the icon did not bring it back"
    click_in_main 49 25
    eventually another_page_shows "$main_window" || fail "$scenario: no information page"
    xdotool windowactivate --sync "$(visible_pages)" key alt+F4
    eventually only_page_is "$main_window" ||
        fail "$scenario: Alt+F4 on the information page did not bring the main window back"
    open_tray_menu && xdotool key Up key Return
    expect_exit_status_0 "$scenario"
fi

scenario="A second start brings the hidden main window up and ends"
if start_tarnwick "$scenario"; then
    click_in_main 614 22
    eventually no_page_shows || fail "$scenario: the close button left the main window shown"
    timeout 60 "$program" > "$scratch/second.log" 2>&1
    status=$?
    ((status == 0)) || fail "$scenario: the second start ended with status $status"
    eventually only_page_is "$main_window" || fail "$scenario: the main window stayed hidden"
    open_tray_menu && xdotool key Up key Return
    expect_exit_status_0 "$scenario"
fi

scenario="Dragging the main window by its background"
if start_tarnwick "$scenario"; then
    moved_by() {
        eval "$(geometry_of "$main_window")"
        local before_x=$X before_y=$Y
        xdotool mousemove $((X + 320)) $((Y + 120)) "$@"
        sleep 0.3
        xdotool mousemove_relative 100 60  # the pointer goes on without a button
        sleep 0.3
        eval "$(geometry_of "$main_window")"
        echo "$((X - before_x)),$((Y - before_y))"
    }
    for attempt in 1 2 3; do
        shift_after=$(moved_by mousedown 1 mouseup 1)
        [[ $shift_after == 0,0 ]] || fail "$scenario: a tap left the window following the pointer ($shift_after)"
        shift_after=$(moved_by mousedown 1 mousemove_relative 30 0 mouseup 1)
        [[ $shift_after == 30,0 ]] || fail "$scenario: a quick flick of 30,0 moved it by $shift_after"
    done
    steps=(mousedown 1)
    for step in 1 2 3 4 5 6 7 8 9 10; do steps+=(mousemove_relative 10 5 sleep 0.03); done
    shift_after=$(moved_by "${steps[@]}" mouseup 1)
    [[ $shift_after == 100,50 ]] || fail "$scenario: a drag of 100,50 moved it by $shift_after"
    open_tray_menu && xdotool key Up key Return
    expect_exit_status_0 "$scenario"
fi

scenario="A window dragged almost off the screen comes back inside it from the tray"
if start_tarnwick "$scenario"; then
    eval "$(geometry_of "$main_window")"
    from_x=$((X + 100)) from_y=$((Y + 60))
    steps=(mousemove "$from_x" "$from_y" mousedown 1)
    for step in 1 2 3 4 5 6 7 8 9 10; do
        steps+=(mousemove $((from_x + (1275 - from_x) * step / 10)) $((from_y + (795 - from_y) * step / 10)) sleep 0.03)
    done
    xdotool "${steps[@]}" mouseup 1
    eval "$(geometry_of "$main_window")"
    ((X > 1100 && Y > 700)) || fail "$scenario: the drag left the window at $X,$Y"
    xdotool key Escape  # hides it to the tray, as its close button, now off the screen, would
    eventually no_page_shows || fail "$scenario: Escape left the main window shown"
    xdotool mousemove "$icon_x" "$icon_y" click 1
    eventually only_page_is "$main_window" || fail "$scenario: a click on the icon did not bring it back"
    eval "$(geometry_of "$main_window")"
    ((X >= 0 && Y >= 0 && X + WIDTH <= 1280 && Y + HEIGHT <= 800)) ||
        fail "$scenario: shown again at $X,$Y, ${WIDTH}x$HEIGHT, not inside the 1280x800 screen"
    open_tray_menu && xdotool key Up key Return
    expect_exit_status_0 "$scenario"
fi

if ((failures > 0)); then
    echo "--- program output"
    cat "$scratch/tarnwick.log"
    exit 1
fi
echo "every desktop scenario passed"
