#!/usr/bin/env bash
# The real Windows program under Wine on a desktop, driven as a user drives it: an X server
# (Xvfb), a window manager (openbox) and a tray host (trayer), with the mouse and keys of xdotool
# and the screen's pixels read back.
# Usage: desktop_win32_test.sh PROGRAM.exe [SCREENSHOT_DIR]
# With SCREENSHOT_DIR, pictures of the pages are saved there. TARNWICK_TEST_TOOLS names the
# build's folder of window_texts.exe and drive_letter.exe. Exits 77 (skipped) when a tool is
# missing; scripts/test-windows.sh installs them.
set -uo pipefail
program=$(realpath "$1")
screenshots=${2:+$(realpath -m "$2")}
here=$(cd "$(dirname "$0")" && pwd)
: "${TARNWICK_TEST_TOOLS:?the folder of test tools of the build}"

source "$here/wine_desktop.sh"
open_wine_desktop_test tarnwick-wine-desktop

# A removable drive F:, a folder of the scratch area.
source "$here/../support/wine_drives.sh"
map_wine_drives "$scratch/drives" f=floppy
wineserver -k
wineserver -w
wineserver -p
drive_letter() { wine "$TARNWICK_TEST_TOOLS/drive_letter.exe" "$@" < /dev/null 2> /dev/null | tr -d '\r'; }
stick_listed() { shows_text 'F:\'; }
stick_unlisted() { ! stick_listed; }

screen() { /usr/bin/python3 "$here/screen_pixels.py" "$@"; }
# The texts of the windows shown, in UTF-8, as a screen reader reads them.
window_texts() { wine "$TARNWICK_TEST_TOOLS/window_texts.exe" < /dev/null 2> /dev/null | tr -d '\r'; }
shows_text() { window_texts | grep -qxF "$1"; }

start_tarnwick() {
    # The pointer away from where the window will be, so that it opens as its design draws it.
    xdotool mousemove 100 700
    wine "$program" < /dev/null > "$scratch/tarnwick.log" 2>&1 &
    tarnwick_pid=$!
    eventually some_page_shows || { fail "$1: no main window"; return 1; }
    main_window=$(visible_pages)
    eventually find_icon || { fail "$1: no tray icon under the tray host"; return 1; }
}

# Design rectangles of the main window in pixels at 96 dpi, relative to its top left corner.
main_area() { # x y width height
    eval "$(geometry_of "$main_window")"
    echo "$((X + $1)) $((Y + $2)) $3 $4"
}
# The reports button (4440, 3210, 510, 510 twips) and its caption (4260, 3840, 855, 270).
report_button() { main_area 296 214 34 34; }
report_caption() { main_area 284 256 57 18; }
caption_pixels() { screen count $(report_caption) "$@"; }
picture_changed() { [[ $(screen digest $(report_button)) != "$1" ]]; }
caption_in() { (($(caption_pixels "$@") > 0)); }

exit_from_tray_menu() {
    click_exit_in_tray_menu || fail "$1: the tray icon opened no menu"
    expect_exit_status_0 "$1"
}

# A picture of a window for the README, when pictures were asked for.
shoot() {
    [[ -n $screenshots ]] || return 0
    eval "$(geometry_of "$1")"
    screen png "$X" "$Y" "$WIDTH" "$HEIGHT" "$screenshots/$2.png"
}
# Clicks at x, y of a window (in pixels from its top left corner).
click_in() {
    eval "$(geometry_of "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
# Keys to a page: Wine's SetForegroundWindow does not move the X focus, so it is moved first.
keys_to() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" key "$@"
}
page_other_than() { # the one visible page that is none of the given windows
    local shown id
    shown=$(visible_pages)
    [[ $(wc -w <<< "$shown") == 1 ]] || return 1
    for id in "$@"; do [[ $shown == "$id" ]] && return 1; done
    page=$shown
}

scenario="Hover, drag and Exit from the tray menu"
if start_tarnwick "$scenario"; then
    # Away from the button: the normal picture and the design colour of the caption, once the
    # window has painted and holds still.
    eval "$(geometry_of "$main_window")"
    xdotool mousemove $((X + 320)) $((Y + 120))
    eventually caption_in 64 64 64 || fail "$scenario: the caption does not show in RGB(64,64,64)"
    steady_picture() {
        normal_picture=$(screen digest $(report_button))
        sleep 0.2
        [[ $(screen digest $(report_button)) == "$normal_picture" ]]
    }
    eventually steady_picture
    shoot "$main_window" main
    read -r bx by _ _ <<< "$(report_button)"
    xdotool mousemove $((bx + 17)) $((by + 17))
    eventually picture_changed "$normal_picture" ||
        fail "$scenario: the pointer on the reports button left its picture as it was"
    eventually caption_in 150 150 150 ||
        fail "$scenario: the caption did not turn RGB(150,150,150) under the pointer"
    xdotool mousemove $((X + 320)) $((Y + 120))
    eventually caption_in 72 72 72 ||
        fail "$scenario: the caption did not turn RGB(72,72,72) after the pointer left"
    eventually test "$(screen digest $(report_button))" = "$normal_picture" ||
        fail "$scenario: the normal picture did not come back after the pointer left"

    # A tap on the background (pressed and released at once) starts no drag: the pointer moved
    # afterwards leaves the window where it was.
    eval "$(geometry_of "$main_window")"
    before_x=$X before_y=$Y
    xdotool mousemove $((X + 320)) $((Y + 120)) click 1
    sleep 0.3
    xdotool mousemove_relative 60 40
    sleep 0.5
    eval "$(geometry_of "$main_window")"
    ((X == before_x && Y == before_y)) ||
        fail "$scenario: after a tap on the background the window followed the pointer by $((X - before_x)),$((Y - before_y))"

    # A drag by the background moves the window by as much as the pointer.
    eval "$(geometry_of "$main_window")"
    before_x=$X before_y=$Y
    xdotool mousemove $((X + 320)) $((Y + 120)) mousedown 1
    sleep 0.3
    for step in 1 2 3 4 5 6 7 8 9 10; do
        xdotool mousemove_relative 10 5
        sleep 0.03
    done
    sleep 0.3
    xdotool mouseup 1
    moved() { eval "$(geometry_of "$main_window")"; ((X - before_x == 100 && Y - before_y == 50)); }
    eventually moved || fail "$scenario: a drag of 100,50 moved the window by $((X - before_x)),$((Y - before_y))"

    exit_from_tray_menu "$scenario"
fi

scenario="Information and support pages by the pointer and the keyboard"
if start_tarnwick "$scenario"; then
    click_in "$main_window" 49 25  # the information button (600, 240, 270, 270 twips)
    if eventually page_other_than "$main_window"; then
        info_page=$page
        sleep 0.5
        shoot "$info_page" info
        click_in "$info_page" 98 317  # the E-Mail link (960, 4560, 1005, 405 twips)
        if eventually page_other_than "$main_window" "$info_page"; then
            feedback_page=$page
            sleep 0.5
            shoot "$feedback_page" feedback
            keys_to "$feedback_page" Escape
            eventually page_other_than "$main_window" "$feedback_page" ||
                fail "$scenario: Escape on the support page did not go back to the information page"
            keys_to "$page" Escape
            eventually only_page_is "$main_window" ||
                fail "$scenario: Escape on the information page did not go back to the main window"
        else
            fail "$scenario: the E-Mail link opened no support page instead of the information page"
        fi
    else
        fail "$scenario: the information button opened no page instead of the main window"
    fi
    # Tab reaches the home page button, then the information button; Enter clicks it.
    keys_to "$main_window" Tab Tab Return
    eventually page_other_than "$main_window" ||
        fail "$scenario: Tab, Tab, Enter on the main window opened no information page"
    exit_from_tray_menu "$scenario"
fi

scenario="A second start shows the running program and ends"
if start_tarnwick "$scenario"; then
    # The close button (9000, 120, 435, 435 twips) hides the main window to the tray.
    read -r cx cy _ _ <<< "$(main_area 614 22 1 1)"
    xdotool mousemove "$cx" "$cy" click 1
    eventually no_page_shows || fail "$scenario: the close button left the main window shown"
    wine "$program" < /dev/null > "$scratch/second.log" 2>&1
    status=$?
    ((status == 0)) || fail "$scenario: the second start ended with status $status"
    eventually only_page_is "$main_window" ||
        fail "$scenario: the second start did not bring the running main window back"
    exit_from_tray_menu "$scenario"
fi

# Moves the pointer to x, y of a window, never pressing: a press on a page's surface drags it.
point_in() { # window x y
    eval "$(geometry_of "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3))
}
# A message box over page (titled "Tarnwick" as the pages are).
box_over() { visible_pages | grep -vx "$1" | head -n 1; }
box_shows() { [[ -n $(box_over "$1") ]]; }
# Answers the message box that shows over page with Enter; false when none showed.
answer_box() { # page
    eventually box_shows "$1" || return 1
    keys_to "$(box_over "$1")" Return
    eventually test -z "$(box_over "$1")"
}
# Saves the report page's table through "Save to disk" (6600, 6600 twips) and the system's save
# dialog (titled save_dialog_title, in the system's language) into file, as a user does,
# answering the confirmation, which must say confirmation when given.
save_dialog_title="Save As"
save_report_as() { # page file [confirmation]
    local dialog
    click_in "$1" 479 448
    eventually xdotool search --onlyvisible --name "^$save_dialog_title\$" > /dev/null ||
        { fail "Save to disk opened no save dialog"; return 1; }
    dialog=$(xdotool search --onlyvisible --name "^$save_dialog_title\$" | head -n 1)
    xdotool windowfocus --sync "$dialog" 2> /dev/null
    # xdotool types a letter the keyboard map lacks by remapping a spare key for it; Wine reads
    # the key's letter when it takes the press, so under load it can read the next letter's
    # mapping instead. The name is typed again, each time slower, until the box shows it.
    local name delay
    name=$(winepath -w "$2")
    for delay in 20 150 400; do
        xdotool key ctrl+a BackSpace
        xdotool type --delay "$delay" "$name"
        eventually shows_text "$name" && break
    done
    shows_text "$name" || { fail "the file name box shows $(window_texts | grep -F '\' | head -n 1), not $name"; return 1; }
    xdotool key Return
    if [[ -n ${3:-} ]]; then
        eventually shows_text "$3" || fail "the confirmation does not say $3: $(window_texts)"
    fi
    answer_box "$1" || { fail "no confirmation after saving $2"; return 1; }
    [[ -f $2 ]] || { fail "Save to disk wrote no $2"; return 1; }
}
# The rows of an exported file, its header left out: each row's user (the first cell).
exported_users() { tail -n +2 "$1" | cut -d ';' -f 1 | tr -d '\r' | paste -sd ' '; }

# Reports read from a devices report folder, a "sended reports" row first; PC is not exported.
reports="$scratch/reports"
mkdir -p "$reports/sended reports"
printf '%s\r\n' 'PC3;dave;10.01.2013 07:07:07;Connected;Old;H:\;Sent;USBSTOR;USB;VID_1;M;1' \
    > "$reports/sended reports/old.txt"
printf '%s\r\n' 'PC;User;Time;Function;Name;Path;Description;Service;Enumerator name; Hardware ID;Manafacturing;Serial number' \
    'PC1;alice;11.01.2013 19:52:21;Connected;Stick;E:\;Mass storage;USBSTOR;USB;VID_0781;Maker;4C53' \
    'PC1;bob;12.01.2013 08:00:00;Removed;Card;F:\;Card reader;USBSTOR;USB;VID_05E3;Maker;0001' \
    'PC2;carol;12.01.2013 09:10:11;Connected;Disk;G:\;Disk;USBSTOR;USB;VID_1234;Maker;9999' \
    > "$reports/devices.txt"
wine reg add 'HKLM\Software\Brindle\Tarnwick' /v DirectoryReports /t REG_SZ \
    /d "$(winepath -w "$reports")" /f < /dev/null > /dev/null 2>&1

scenario="Reports: rows read at start, a date rereads and narrows them, a search narrows them, Save to disk writes them"
if start_tarnwick "$scenario"; then
    # The page read the folder when the program started: a report written since shows once the
    # page reads again, when a date is picked.
    printf '%s\r\n' 'PC4;erin;12.01.2013 10:00:00;Connected;Late;K:\;Late;USBSTOR;USB;VID_2;M;2' \
        > "$reports/late.txt"
    read -r bx by _ _ <<< "$(report_button)"
    xdotool mousemove $((bx + 17)) $((by + 17)) click 1
    if eventually page_other_than "$main_window"; then
        report_page=$page
        # Away from every control, so that the page shows as designed.
        point_in "$report_page" 560 100
        sleep 0.3
        shoot "$report_page" report
        if save_report_as "$report_page" "$scratch/all.csv"; then
            [[ $(exported_users "$scratch/all.csv") == "dave alice bob carol" ]] ||
                fail "$scenario: all dates exported '$(exported_users "$scratch/all.csv")'"
            [[ $(head -n 1 "$scratch/all.csv") == $'User;Time;Action;Name;Description;Path;Manufacturer; Service;Enumerator;Hardware ID;Serial number\r' ]] ||
                fail "$scenario: the export's header is $(head -n 1 "$scratch/all.csv")"
        fi
        # The date chooser (1800, 1850 twips) offers All dates, then 10.01, 11.01 and 12.01.2013.
        click_in "$report_page" 172 134
        sleep 0.5
        xdotool key Down Down Down Return
        sleep 0.5
        if save_report_as "$report_page" "$scratch/date.csv"; then
            [[ $(exported_users "$scratch/date.csv") == "bob carol erin" ]] ||
                fail "$scenario: 12.01.2013 exported '$(exported_users "$scratch/date.csv")'"
        fi
        # Typed into the search box (6600, 1830 twips), a text narrows the date's rows to those
        # holding it in any column, cases aside; Escape empties the box and leaves the page open.
        click_in "$report_page" 530 134
        xdotool type --delay 50 "CARD"
        sleep 1
        if save_report_as "$report_page" "$scratch/found.csv"; then
            [[ $(exported_users "$scratch/found.csv") == "bob" ]] ||
                fail "$scenario: the search exported '$(exported_users "$scratch/found.csv")'"
        fi
        click_in "$report_page" 530 134
        xdotool key Escape
        sleep 1
        if save_report_as "$report_page" "$scratch/cleared.csv"; then
            [[ $(exported_users "$scratch/cleared.csv") == "bob carol erin" ]] ||
                fail "$scenario: Escape left '$(exported_users "$scratch/cleared.csv")' shown"
        fi
        # "Send report" (8160, 6600 twips) trades the page for the send dialog; its close
        # button brings the page back.
        click_in "$report_page" 555 448
        if eventually page_other_than "$report_page"; then
            send_dialog=$page
            point_in "$send_dialog" 40 150
            sleep 0.3
            shoot "$send_dialog" sendreport
            # Its close button (7800, 120 twips); a click Wine loses on a dialog that has just come
            # up is given again.
            dialog_closed() { click_in "$send_dialog" 534 22; sleep 1; only_page_is "$report_page"; }
            eventually dialog_closed ||
                fail "$scenario: closing the send dialog did not bring the report page back"
        else
            fail "$scenario: Send report opened no dialog"
        fi
        # Escape closes the page and the main window comes back.
        keys_to "$report_page" Escape
        eventually only_page_is "$main_window" || fail "$scenario: Escape left the report page open"
    else
        fail "$scenario: the reports button opened no page"
    fi
    exit_from_tray_menu "$scenario"
fi

# The tray icon's balloon: Wine's shell draws it as a window of its own (explorer.exe) taller than
# the icon. The window carries no name, so what it says is read from the program's debugger
# output, where each balloon's texts go.
balloon_window() {
    local id
    for id in $(xdotool search --onlyvisible --class '^explorer\.exe$' 2> /dev/null); do
        eval "$(geometry_of "$id")"
        ((HEIGHT > 40)) && echo "$id" && return 0
    done
    return 1
}
balloon_other_than() { local id; id=$(balloon_window) && [[ $id != "$1" ]]; }
balloons_told() { grep -c '^tarnwick\.notices: ' "$scratch/tarnwick.log"; }
told() { grep -qF "tarnwick.notices: $1" "$scratch/tarnwick.log"; }
plugged_line() { # name
    printf 'PC-07;mira;13.01.2013 10:16:00;Connect;%s;E:\\;Flash Drive;USBSTOR;USB;VID_0951;M;1\r\n' "$1"
}

scenario="Notices: a device plugged in shows a balloon with its name, a hundred at once one balloon"
if start_tarnwick "$scenario"; then
    sleep 0.5  # the watch begins on its own thread once the program has loaded
    plugged_line "PLUGGED STICK" >> "$reports/devices.txt"
    if eventually balloon_window > /dev/null; then
        first_balloon=$(balloon_window)
        told "Device connected: PLUGGED STICK (Flash Drive) on PC-07, user mira" ||
            fail "$scenario: the balloon told $(grep '^tarnwick.notices' "$scratch/tarnwick.log")"
    else
        fail "$scenario: no balloon after a device was plugged in"
    fi
    for ((i = 0; i < 100; i++)); do plugged_line "STICK $i"; done > "$scratch/burst"
    cat "$scratch/burst" >> "$reports/devices.txt"
    eventually balloon_other_than "${first_balloon:-}" ||
        fail "$scenario: no new balloon after a hundred devices"
    sleep 1  # a second balloon of the burst would be told by now
    (($(balloons_told) == 2)) || fail "$scenario: $(balloons_told) balloons in all, not 2"
    told "New reports: Devices connected: 100, files moved into quarantine: 0" ||
        fail "$scenario: the burst told $(grep '^tarnwick.notices' "$scratch/tarnwick.log" | tail -n 1)"
    exit_from_tray_menu "$scenario"
fi

scenario="Protection: the drive list follows a stick pulled out and plugged in; the switch stores the protection setting"
guard_stored() { wine reg query 'HKLM\Software\Brindle\Tarnwick' /v Guard < /dev/null 2> /dev/null | grep -q "REG_SZ *$1"; }
if start_tarnwick "$scenario"; then
    # The protection button (2040, 3240 twips).
    click_in "$main_window" 152 232
    if eventually page_other_than "$main_window"; then
        guard_page=$page
        point_in "$guard_page" 560 100
        sleep 0.3
        shoot "$guard_page" guard
        eventually stick_listed ||
            fail "$scenario: the removable drive is not listed: $(window_texts | paste -sd '|')"
        # The stick pulled out and plugged in again, as Windows' mount manager tells it.
        stick=$(drive_letter take F)
        eventually stick_unlisted ||
            fail "$scenario: the drive pulled out is still listed: $(window_texts | paste -sd '|')"
        drive_letter give F "$stick"
        eventually stick_listed ||
            fail "$scenario: the drive plugged in again is not listed: $(window_texts | paste -sd '|')"
        # The switch (500, 1320 twips) turns protection on and stores it.
        click_in "$guard_page" 53 108
        eventually guard_stored 1 || fail "$scenario: a click on the switch did not store Guard 1"
        click_in "$guard_page" 53 108
        eventually guard_stored 0 || fail "$scenario: a second click did not store Guard 0"
        keys_to "$guard_page" Escape
        eventually only_page_is "$main_window" || fail "$scenario: Escape left the protection page open"
    else
        fail "$scenario: the protection button opened no page"
    fi
    exit_from_tray_menu "$scenario"
fi

scenario="Options: the General tab opens, the Mail tab shows its panel"
if start_tarnwick "$scenario"; then
    # The options button (6840, 3240 twips); Wine's user is an administrator.
    click_in "$main_window" 472 232
    if eventually page_other_than "$main_window"; then
        options_page=$page
        point_in "$options_page" 560 100
        sleep 0.3
        shoot "$options_page" options_general
        eval "$(geometry_of "$options_page")"
        page_x=$X page_y=$Y
        general_panel=$(screen digest "$page_x" $((page_y + 110)) 640 250)
        # The Mail tab (2280, 360 twips), then the pointer back on the window surface.
        click_in "$options_page" 168 40
        xdotool mousemove $((page_x + 560)) $((page_y + 100))
        mail_shown() { [[ $(screen digest "$page_x" $((page_y + 110)) 640 250) != "$general_panel" ]]; }
        eventually mail_shown || fail "$scenario: the Mail tab left the General panel shown"
        # The selected tab keeps its highlighted caption, the other goes back to normal.
        (($(screen count $((page_x + 128)) $((page_y + 64)) 80 20 150 150 150) > 0)) ||
            fail "$scenario: the Mail caption is not highlighted once its tab is selected"
        (($(screen count $((page_x + 24)) $((page_y + 64)) 80 20 72 72 72) > 0)) ||
            fail "$scenario: the General caption did not go back to normal"
        shoot "$options_page" options_mail
        keys_to "$options_page" Escape
        eventually only_page_is "$main_window" || fail "$scenario: Escape left the options page open"
    else
        fail "$scenario: the options button opened no page"
    fi
    exit_from_tray_menu "$scenario"
fi

# A Russian Windows: the system's language for non-Unicode programs is Russian (code page 1251),
# and the guard service writes its reports in that code page, into a folder of a Cyrillic name.
scenario="Russian: pages and boxes in Russian, a report in the system's code page saved under a Cyrillic name"
russian() { iconv -f UTF-8 -t CP1251 <<< "$1"; }
mkdir -p "$scratch/locale"
if localedef -i ru_RU -f UTF-8 "$scratch/locale/ru_RU.UTF-8" > /dev/null 2>&1; then
    wineserver -k
    wineserver -w
    unset LC_ALL LC_CTYPE LC_MESSAGES
    export LOCPATH="$scratch/locale" LANG=ru_RU.UTF-8
    russian_reports="$scratch/отчёты"
    mkdir -p "$russian_reports/sended reports"
    russian 'PC1;Иван;11.01.2013 19:52:21;Connected;Флешка;E:\;Накопитель;USBSTOR;USB;VID_0781;M;1' |
        sed 's/$/\r/' > "$russian_reports/devices.txt"
    wine reg add 'HKLM\Software\Brindle\Tarnwick' /v DirectoryReports /t REG_SZ \
        /d "$(winepath -w "$russian_reports")" /f < /dev/null > /dev/null 2>&1
    wine reg add 'HKLM\Software\Brindle\Tarnwick' /v Language /t REG_SZ /d Russian /f \
        < /dev/null > /dev/null 2>&1
    save_dialog_title="Сохранить как"
    if start_tarnwick "$scenario"; then
        eventually shows_text "Отчёты" ||
            fail "$scenario: the main window's texts are $(window_texts | paste -sd '|')"
        read -r bx by _ _ <<< "$(report_button)"
        xdotool mousemove $((bx + 17)) $((by + 17)) click 1
        if eventually page_other_than "$main_window"; then
            report_page=$page
            for text in "Все даты" "Сохранить" "Отправить"; do
                shows_text "$text" || fail "$scenario: the report page shows no $text"
            done
            if save_report_as "$report_page" "$scratch/отчёт.csv" "Отчёт сохранён!"; then
                [[ $(exported_users "$scratch/отчёт.csv") == "$(russian Иван)" ]] ||
                    fail "$scenario: the export holds '$(exported_users "$scratch/отчёт.csv" | iconv -f CP1251 -t UTF-8)'"
            fi
            keys_to "$report_page" Escape
            eventually only_page_is "$main_window" || fail "$scenario: Escape left the report page open"
        else
            fail "$scenario: the reports button opened no page"
        fi
        exit_from_tray_menu "$scenario"
    fi
else
    fail "$scenario: no Russian locale could be made for Wine (is Debian's locales installed?)"
fi

if ((failures > 0)); then
    for log in tarnwick xvfb trayer openbox; do
        echo "--- $log"
        cat "$scratch/$log.log"
    done
    exit 1
fi
echo "every desktop scenario passed"
