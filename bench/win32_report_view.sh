#!/usr/bin/env bash
# The Windows program's report page under Wine over a large devices report folder, timed as a
# user sees it on the screen: the main window after the start, the page after the reports
# button, its first rows, then each repaint of the list after End, Home and Page Down, and the
# sort by the User heading. Every step waits for the screen to change, so a frozen window shows
# as a step that never ends.
# Usage: bench/win32_report_view.sh PROGRAM.exe MAKE_REPORTS [FILES LINES_PER_FILE]
# (MAKE_REPORTS is bench/make_reports of a Linux build; the default is 100 files of 10,000 lines.)
set -uo pipefail
program=$(realpath "$1")
make_reports=$(realpath "$2")
files=${3:-100}
lines=${4:-10000}
here=$(cd "$(dirname "$0")/../tests/desktop" && pwd)

source "$here/wine_desktop.sh"
open_wine_desktop_test tarnwick-wine-bench

screen() { /usr/bin/python3 "$here/screen_pixels.py" "$@"; }
now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
report() { printf '%-44s %6.2f s\n' "$1" "$2"; }
# Polls like eventually, for up to ten minutes: a slow step is measured, not cut short.
patiently() {
    local tries
    for ((tries = 0; tries < 6000; tries++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

"$make_reports" devices "$scratch/reports" "$files" "$lines" 30 > /dev/null
echo "$((files * lines)) devices lines in $files files, $(du -sh "$scratch/reports" | cut -f1)"
wine reg add 'HKLM\Software\Brindle\Tarnwick' /v DirectoryReports /t REG_SZ \
    /d "$(winepath -w "$scratch/reports")" /f < /dev/null > /dev/null 2>&1

xdotool mousemove 100 700
started=$(now)
wine "$program" < /dev/null > "$scratch/tarnwick.log" 2>&1 &
tarnwick_pid=$!
patiently some_page_shows || { echo "no main window"; exit 1; }
report "main window shown" "$(since "$started")"
main_window=$(visible_pages)
eventually find_icon || { echo "no tray icon"; exit 1; }
sleep 1

eval "$(geometry_of "$main_window")"
clicked=$(now)
# The reports button (4440, 3210, 510, 510 twips).
xdotool mousemove $((X + 313)) $((Y + 231)) click 1
report_page_shows() {
    local shown
    shown=$(visible_pages)
    [[ -n $shown && $shown != "$main_window" ]] && page=$shown
}
patiently report_page_shows || { echo "no report page"; exit 1; }
report "report page shown after the click" "$(since "$clicked")"
eval "$(geometry_of "$page")"
# The list (240, 2400, 9135, 3975 twips) and its first row below the headings.
list_area="$((X + 16)) $((Y + 160)) 609 265"
rows_shown() { (($(screen count $((X + 40)) $((Y + 178)) 200 14 0 0 0) > 10)); }
patiently rows_shown || { echo "no rows"; exit 1; }
report "first rows painted after the click" "$(since "$clicked")"

# A click on a row gives the list the keyboard; then each key until the list has repainted.
xdotool mousemove $((X + 300)) $((Y + 200)) click 1
sleep 1
list_changed() { [[ $(screen digest $list_area) != "$1" ]]; }
timed_key() { # label key
    local before pressed
    before=$(screen digest $list_area)
    pressed=$(now)
    xdotool key "$2"
    patiently list_changed "$before" || { echo "$1: the list never repainted"; exit 1; }
    report "$1" "$(since "$pressed")"
    sleep 0.5
}
timed_key "End (to the last of the rows)" End
timed_key "Home (back to the first row)" Home
timed_key "Page Down" Next
timed_key "Page Down again" Next

# The User heading (second column).
before=$(screen digest $list_area)
pressed=$(now)
xdotool mousemove $((X + 110)) $((Y + 169)) click 1
patiently list_changed "$before" || { echo "the sort never showed"; exit 1; }
report "sort by User shown after the click" "$(since "$pressed")"
sleep 0.5
timed_key "End after the sort" End

click_exit_in_tray_menu || echo "no tray menu for Exit"
patiently has_exited
