#!/usr/bin/env bash
# The real program on a desktop, driven as a user drives it: an X server (Xvfb), a window manager
# (openbox) and a tray host (trayer), with the mouse and keys of xdotool.
# Usage: desktop_test.sh PROGRAM [TEST_HELPER_LIBRARY]
# TEST_HELPER_LIBRARY is the helper library's variant that reads twkd.ini from
# TWKD_TEST_CONFIG_DIR; without it the scenario of a failed send is left out.
# Exits 77 (skipped) when one of those programs is missing; scripts/test.sh installs them.
set -uo pipefail
program=$1
test_helper=${2:-}

source "$(dirname "$0")/desktop.sh"
require_tools scripts/test.sh Xvfb openbox trayer xdotool
open_desktop_test tarnwick-desktop
start_desktop || exit 1

# The program's own folders for this run: its lock, its cache and an empty settings store.
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CACHE_HOME="$scratch/cache"
export XDG_CONFIG_DIRS="$scratch/config" HOME="$scratch/home" QT_QPA_PLATFORM=xcb

# The tray icon: a small window of the program's own class inside the tray host.
find_icon() {
    local id
    for id in $(xdotool search --onlyvisible --classname '^tarnwick$' 2> /dev/null); do
        eval "$(geometry_of "$id")"
        if ((WIDTH <= 48 && HEIGHT <= 48)); then
            icon_x=$((X + WIDTH / 2)) icon_y=$((Y + HEIGHT / 2))
            return 0
        fi
    done
    return 1
}

start_tarnwick() {
    "${started_program:-$program}" > "$scratch/tarnwick.log" 2>&1 &
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

scenario="Exit chosen with the mouse"
if start_tarnwick "$scenario"; then
    click_exit_in_tray_menu || fail "$scenario: no tray menu"
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

scenario="A failed send and update check leave their reasons on standard error, not the password"
if [[ -n $test_helper ]]; then
    # A program folder of its own, whose helper library reads the twkd.ini below: a login over
    # TLS to a port where nothing listens.
    folder="$scratch/program"
    mkdir -p "$folder" "$scratch/mail/Brindle"
    cp "$program" "$folder/"
    cp -r "$(dirname "$program")/languages" "$folder/"
    cp "$test_helper" "$folder/"
    port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    password="Pa55-$RANDOM-word"
    body="Words-$RANDOM-of-the-message"
    printf '[Mail]\nServer=smtps://127.0.0.1:%s\nUser=tester\nPassword=%s\nTimeout=5\n' "$port" "$password" \
        > "$scratch/mail/Brindle/twkd.ini"
    chmod 600 "$scratch/mail/Brindle/twkd.ini"
    # Where a journal runs the reasons go there; Qt's own switch keeps them on standard error.
    journal_runs() { [[ -S /run/systemd/journal/socket ]]; }
    journal_runs && export QT_FORCE_STDERR_LOGGING=1
    says() { grep -q -- "$1" "$scratch/tarnwick.log"; }
    started_program="$folder/tarnwick"
    if TWKD_TEST_CONFIG_DIR="$scratch/mail" start_tarnwick "$scenario"; then
        open_tray_menu && xdotool key Up key Up key Return  # "Feedback", above "Exit"
        if eventually another_page_shows "$main_window"; then
            page=$(visible_pages | grep -vx "$main_window")
            # Clicks clear the example address and the message prompt, as the page promises.
            click_in_page() {
                eval "$(geometry_of "$page")"
                xdotool mousemove $((X + $1)) $((Y + $2)) click 1
            }
            click_in_page 172 129 && xdotool type "someone@example.org"  # the sender box
            click_in_page 319 310 && xdotool type "$body"                # the message box
            click_in_page 496 449                                        # "Send message"
            eventually says "^tarnwick.mail: " || fail "$scenario: no reason for the failed send"
            # The box that says the message is not sent comes after the reason, and is modal: the
            # tray icon takes no click until it is answered.
            box_over_page() { visible_pages | grep -vx -e "$main_window" -e "$page" | head -n 1; }
            box_shows() { [[ -n $(box_over_page) ]]; }
            box_gone() { [[ -z $(box_over_page) ]]; }
            if eventually box_shows; then
                xdotool windowfocus --sync "$(box_over_page)" key Return
                eventually box_gone || fail "$scenario: the box stayed after Enter"
            else
                fail "$scenario: no box for the failed send"
            fi
        else
            fail "$scenario: no feedback page"
        fi
        open_tray_menu && xdotool key Up key Return
        expect_exit_status_0 "$scenario"
    fi
    unset started_program QT_FORCE_STDERR_LOGGING
    says "^tarnwick.mail: mail to support@brindle.example not sent: the helper library answered 4: libcurl: .*127.0.0.1.*$port" ||
        fail "$scenario: the mail reason names no code and no words of libcurl"
    says "^tarnwick.update: the version file http://update.brindle.example/Tarnwick/version.dat could not be fetched: libcurl: " ||
        fail "$scenario: no reason for the failed update check"
    says "$password" && fail "$scenario: the password is in the program's output"
    says "$body" && fail "$scenario: the message's text is in the program's output"
    echo "--- reasons given"
    grep "^tarnwick\." "$scratch/tarnwick.log"
fi

if ((failures > 0)); then
    echo "--- program output"
    cat "$scratch/tarnwick.log"
    exit 1
fi
echo "every desktop scenario passed"
