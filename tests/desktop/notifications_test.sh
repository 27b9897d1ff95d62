#!/usr/bin/env bash
# The real program on an X server with a session bus and a notification service of the test's
# own: what the guard service appends to the report folders becomes desktop notifications, and
# a click on one opens the report page on its view.
# Usage: notifications_test.sh PROGRAM SYSTEM_CONFIG_DIR
# Exits 77 (skipped) when a needed program is missing; scripts/test.sh installs them.
set -uo pipefail
program=$1
# The program follows the machine's settings store, which must leave the report folders at
# their defaults (inside the program folder) for the test's lines to be the ones it watches.
store="$2/registry/HKEY_LOCAL_MACHINE/Software/Brindle/Tarnwick.reg"
if grep -qE '^"Directory(Reports|Quarantine)"=' "$store" 2> /dev/null; then
    echo "FAIL: $store names report folders of its own; this test needs the default ones"
    exit 1
fi
here=$(cd "$(dirname "$0")" && pwd)

source "$here/desktop.sh"
require_tools scripts/test.sh Xvfb openbox trayer xdotool dbus-run-session
if ! /usr/bin/python3 -c 'import dbus, gi.repository.GLib' 2> /dev/null; then
    echo "SKIP: python3-dbus or python3-gi is not installed (scripts/test.sh installs them)"
    exit 77
fi
# A session bus of the test's own, which ends with it.
if [[ -z ${NOTIFICATIONS_TEST_BUS:-} ]]; then
    NOTIFICATIONS_TEST_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
open_desktop_test tarnwick-notifications
start_desktop || exit 1

record="$scratch/notifications.jsonl"
/usr/bin/python3 "$here/notification_service.py" "$record" > "$scratch/service.log" 2>&1 &
service_pid=$!
desktop_pids+=("$service_pid")
eventually grep -q ready "$scratch/service.log" || { echo "no notification service"; cat "$scratch/service.log"; exit 1; }

# A program folder of this run's own: its report folders are the default ones inside it.
cp -a "$(dirname "$program")" "$scratch/bin"
reports="$scratch/bin/reports" quarantine="$scratch/bin/quarantine"
mkdir -p "$reports" "$quarantine"
devices_header='PC;User;Time;Function;Name;Path;Description;Service;Enumerator name; Hardware ID;Manafacturing;Serial number'
viruses_header='PC;User;Time;Action;Source path;Destination path;Device'
device_line() {  # PC USER TIME FUNCTION NAME DESCRIPTION
    printf '%s;%s;%s;%s;%s;E:\\;%s;USBSTOR;USB;USB\\VID_0951;Kingston;0019E06B\r\n' "$@"
}
virus_line() {  # PC USER TIME SOURCE DEVICE
    printf '%s;%s;%s;Moved;%s;/var/lib/quarantine/1.bin;%s\r\n' "$1" "$2" "$3" "$4" "$5"
}
# Lines there before the start, the last one still being written, are no news.
{
    printf '%s\r\n' "$devices_header"
    device_line PC-01 anna "08.12.2026 09:00:00" Connect "OLD STICK" "Old drive"
    printf 'PC-01;anna;08.12.2026 09:30:00;Conn'
} > "$reports/devices.txt"
{
    printf '%s\r\n' "$viruses_header"
    virus_line PC-01 anna "08.12.2026 09:01:00" 'E:\old.exe' "OLD STICK"
} > "$quarantine/viruses.csv"

mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CACHE_HOME="$scratch/cache"
export XDG_CONFIG_DIRS="$scratch/config" HOME="$scratch/home" QT_QPA_PLATFORM=xcb
"$scratch/bin/$(basename "$program")" > "$scratch/tarnwick.log" 2>&1 &
tarnwick_pid=$!
eventually some_page_shows || { fail "no main window"; cat "$scratch/tarnwick.log"; exit 1; }
main_window=$(visible_pages)

notices() { [[ -f $record ]] && wc -l < "$record" || echo 0; }
has_notices() { (($(notices) >= $1)); }
# Field of notification number N (from 1) as the service got it.
field() {
    /usr/bin/python3 -c 'import json, sys
print(json.loads(open(sys.argv[1], encoding="utf-8").read().splitlines()[int(sys.argv[2]) - 1])[sys.argv[3]])' \
        "$record" "$1" "$2"
}
expect_notice() {  # N SUMMARY BODY
    local summary body
    summary=$(field "$1" summary) body=$(field "$1" body)
    [[ $summary == "$2" ]] || fail "notification $1 is titled '$summary', not '$2'"
    [[ $body == "$3" ]] || fail "notification $1 says '$body', not '$3'"
}
# Waits for count notifications in all, then a moment more, so that an extra one would show too.
expect_count() {
    eventually has_notices "$1" || fail "$2: $(notices) notifications, not $1"
    sleep 1
    (($(notices) == $1)) || fail "$2: $(notices) notifications, not $1"
}

scenario="A device plugged in and a file moved into quarantine"
{
    printf 'ect;OLD STICK;E:\\;Old drive;USBSTOR;USB;USB\\VID_0951;Kingston;1\r\n'
    device_line PC-07 mira "09.12.2026 10:15:00" Disconnect "OLD STICK" "Old drive"
    device_line PC-07 mira "09.12.2026 10:16:00" Connect "USB DISK" "Flash Drive"
} >> "$reports/devices.txt"
virus_line PC-07 mira "09.12.2026 10:16:05" 'E:\Tom & Jerry\autorun.inf' "USB DISK (E:)" \
    >> "$quarantine/viruses.csv"
expect_count 2 "$scenario"
expect_notice 1 "Device connected" "USB DISK (Flash Drive) on PC-07, user mira"
# The service reads bodies as markup: a file's name shows as it is.
expect_notice 2 "File moved into quarantine" 'E:\Tom &amp; Jerry\autorun.inf from USB DISK (E:)'
[[ $(field 1 app) == Tarnwick ]] || fail "$scenario: sent by '$(field 1 app)'"
[[ $(field 1 desktop_entry) == org.brindle.tarnwick ]] ||
    fail "$scenario: desktop entry '$(field 1 desktop_entry)'"
[[ $(field 1 actions) == *default* ]] || fail "$scenario: no default action in $(field 1 actions)"

scenario="A hundred lines at once"
for ((i = 0; i < 100; i++)); do
    device_line PC-07 mira "09.12.2026 11:00:00" Connect "STICK $i" "Flash Drive"
done > "$scratch/burst"
cat "$scratch/burst" >> "$reports/devices.txt"
expect_count 3 "$scenario"
expect_notice 3 "New reports" "Devices connected: 100, files moved into quarantine: 0"

scenario="A report replaced under its name"
{
    printf '%s\r\n' "$viruses_header"
    virus_line PC-02 olaf "09.12.2026 12:00:00" 'F:\setup.exe' "CARD (F:)"
} > "$scratch/viruses.csv"
mv "$scratch/viruses.csv" "$quarantine/viruses.csv"
expect_count 4 "$scenario"
expect_notice 4 "File moved into quarantine" 'F:\setup.exe from CARD (F:)'

scenario="A line written in two pieces"
device_line PC-03 lena "09.12.2026 13:00:00" Connect "SLOW STICK" "Flash Drive" > "$scratch/line"
head -c 20 "$scratch/line" >> "$reports/devices.txt"
sleep 0.6  # a look meanwhile finds the line without its end
tail -c +21 "$scratch/line" >> "$reports/devices.txt"
expect_count 5 "$scenario"
expect_notice 5 "Device connected" "SLOW STICK (Flash Drive) on PC-03, user lena"

scenario="A report that shrank"
{
    printf '%s\r\n' "$devices_header"
    device_line PC-04 ivan "09.12.2026 14:00:00" Connect "NEW STICK" "Card Reader"
} > "$reports/devices.txt"
expect_count 6 "$scenario"
expect_notice 6 "Device connected" "NEW STICK (Card Reader) on PC-04, user ivan"

scenario="A click on a notification"
# The marker bar under the selected view button, in the report page's top left corner: the
# Viruses button's is 104 pixels right of the Devices button's.
marker_pixels() {  # WINDOW LEFT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    /usr/bin/python3 -c 'import sys
sys.path.insert(0, sys.argv[1])
import screen_pixels
area = screen_pixels.rows(*map(int, sys.argv[2:6]))
print(sum(g > 120 and b > 120 and r < 80 for row in area for r, g, b in row))' \
        "$here" $((X + $2)) $((Y + 88)) 100 10
}
report_page_shows() {
    report_page=$(visible_pages)
    [[ -n $report_page && $report_page != "$main_window" && $report_page != *$'\n'* ]]
}
# The report page alone shows, on the view whose marker bar starts left pixels in.
expect_report_view() {  # SCENARIO LEFT OTHER_LEFT
    if ! eventually report_page_shows; then
        fail "$1: the report page alone does not show ($(visible_pages | wc -l) pages)"
        return
    fi
    marker_shows() { (($(marker_pixels "$report_page" "$1") > 100)); }
    eventually marker_shows "$2" || fail "$1: the marker bar is not under the clicked view's button"
    (($(marker_pixels "$report_page" "$3") == 0)) || fail "$1: the marker bar is under the other button"
}
dbus-send --session --type=method_call --dest=org.freedesktop.Notifications \
    /org/freedesktop/Notifications test.NotificationService.Click uint32:2
expect_report_view "$scenario" 120 16

scenario="A desktop without a notification service"
eval "$(geometry_of "$report_page")"
xdotool mousemove $((X + 614)) $((Y + 22)) click 1  # the page's close button
eventually only_page_is "$main_window" || fail "$scenario: the report page did not close"
kill "$service_pid"
device_line PC-05 kai "09.12.2026 15:00:00" Connect "TRAY STICK" "Flash Drive" >> "$reports/devices.txt"
# The tray icon's message: a window of the program that is no page.
if eventually find_menu; then
    xdotool mousemove $((menu_x + menu_width / 2)) $((menu_y + menu_height / 2)) click 1
    expect_report_view "$scenario" 16 120
else
    fail "$scenario: the tray icon showed no message"
fi
(($(notices) == 6)) || fail "$scenario: $(notices) notifications reached the stopped service"

if ((failures > 0)); then
    echo "--- program output"
    cat "$scratch/tarnwick.log"
    exit 1
fi
echo "every notification scenario passed"
