#!/usr/bin/env bash
# The Windows installer under Wine as an administrator uses it: a silent install, the program
# started through its Start-menu entry with its main window and tray icon and its report folders
# in the machine's program data folder, Exit from the tray menu, a silent uninstall, and nothing
# of it left but the settings and the reports.
# Usage: installer_win32_test.sh SETUP.exe VERSION
# Exits 77 (skipped) when a tool is missing; scripts/test-windows.sh installs them.
set -uo pipefail
setup=$(realpath "$1")
version=$2
here=$(cd "$(dirname "$0")" && pwd)

source "$here/wine_desktop.sh"
open_wine_desktop_test tarnwick-wine-installer

drive_c="$WINEPREFIX/drive_c"
folder="$drive_c/Program Files/Brindle/Tarnwick"
data="$drive_c/ProgramData/Brindle/Tarnwick"
shortcut_windows='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tarnwick.lnk'
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnwick.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKLM\Software\Brindle\Tarnwick'
reg_value() { wine reg query "$1" /v "$2" < /dev/null 2> /dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = $2 = ""; sub(/^ +/, ""); print }'; }
key_exists() { wine reg query "$1" < /dev/null > /dev/null 2>&1; }
# The program of this prefix, whatever process runs it.
tarnwick_running() {
    local cmdline
    for cmdline in $(grep -lsai 'tarnwick\.exe' /proc/[0-9]*/cmdline); do
        grep -qsaF "WINEPREFIX=$WINEPREFIX" "${cmdline%/cmdline}/environ" && return 0
    done
    return 1
}
tarnwick_ended() { ! tarnwick_running; }

expected_files=(tarnwick.exe twkd.dll tarnwick-settings.exe uninstall.exe)

wine "$setup" /S < /dev/null > "$scratch/setup.log" 2>&1 || fail "the silent install ended with $?"
for file in "${expected_files[@]}"; do
    [[ -f "$folder/$file" ]] || fail "installed: no $file in the program folder"
done
ls "$folder/languages/"*.twl > /dev/null 2>&1 || fail "installed: no language file in languages\\"
[[ -f $shortcut ]] || fail "installed: no Start-menu entry"
# The entry's working folder, a counted UTF-16 string in the shortcut, is the program folder.
/usr/bin/python3 - "$shortcut" 'C:\Program Files\Brindle\Tarnwick' <<'PY' || fail "the Start-menu entry does not start in the program folder"
import struct, sys
data, folder = open(sys.argv[1], "rb").read(), sys.argv[2]
# Wine counts the string's closing NUL, Windows does not.
text = folder.encode("utf-16-le")
counted = [struct.pack("<H", length) + text for length in (len(folder), len(folder) + 1)]
sys.exit(0 if any(wanted in data for wanted in counted) else 1)
PY
[[ $(reg_value "$uninstall_key" DisplayVersion) == "$version" ]] ||
    fail "Programs and Features: DisplayVersion is '$(reg_value "$uninstall_key" DisplayVersion)'"
[[ $(reg_value "$uninstall_key" Publisher) == Brindle ]] || fail "Programs and Features: no publisher"
for reports in reports quarantine; do
    [[ -d "$data/$reports/sended reports" ]] || fail "installed: no $reports\\sended reports in ProgramData"
done
# The installed program's report folder is the one in ProgramData: it makes what is missing of it
# when it reads it at start, and nothing beside itself.
rmdir "$data/reports/sended reports"

# The user's way in: the Start-menu entry, opened as the shell opens it.
xdotool mousemove 100 700
wine start "$shortcut_windows" < /dev/null > "$scratch/start.log" 2>&1
if eventually some_page_shows; then
    eventually find_icon || fail "the installed program shows no tray icon"
    eventually test -d "$data/reports/sended reports" ||
        fail "the installed program did not read its report folder in ProgramData"
    [[ ! -e "$folder/reports" && ! -e "$folder/quarantine" ]] ||
        fail "the installed program made report folders beside itself"
    click_exit_in_tray_menu || fail "the tray icon opened no menu"
    eventually tarnwick_ended || fail "the installed program still runs after Exit"
else
    fail "the installed program showed no main window"
fi

# What the program and its user leave, which the uninstaller must deal with: the autostart value
# goes, the settings stay.
wine reg add "$run_key" /v Tarnwick /d '"C:\Program Files\Brindle\Tarnwick\tarnwick.exe"' /f \
    < /dev/null > /dev/null 2>&1
wine reg add "$settings_key" /v Language /d English /f < /dev/null > /dev/null 2>&1
# A report the guard service wrote.
kept="$data/quarantine/sended reports/kept.csv"
printf 'User;Time\r\n' > "$kept"

# The uninstaller copies itself away and returns at once; the copy does the work.
wine "$folder/uninstall.exe" /S < /dev/null > "$scratch/uninstall.log" 2>&1 ||
    fail "the silent uninstall ended with $?"
gone() { [[ ! -e $folder ]] && ! key_exists "$uninstall_key"; }
eventually gone || fail "uninstalled: the program folder or its Programs and Features entry is left"
[[ ! -e "$drive_c/Program Files/Brindle" ]] || fail "uninstalled: an empty Brindle folder is left"
[[ ! -e $shortcut ]] || fail "uninstalled: the Start-menu entry is left"
[[ -z $(reg_value "$run_key" Tarnwick) ]] || fail "uninstalled: the autostart value is left"
[[ $(reg_value "$settings_key" Language) == English ]] || fail "uninstalled: the settings went too"
[[ ! -e "$data/reports" ]] || fail "uninstalled: the empty report folder in ProgramData is left"
[[ -f $kept ]] || fail "uninstalled: a report in ProgramData went too"

((failures == 0)) && echo "installer test passed"
exit $((failures > 0))
