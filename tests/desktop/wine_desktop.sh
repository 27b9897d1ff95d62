# Sourced by the tests that drive a Windows program under Wine on a desktop, over desktop.sh.
source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

# Skips the test when a tool is missing; else a scratch folder named after name, the desktop and a
# Wine prefix of this run, made before the program starts: the first start builds it. Its helper
# processes get no pipe of ours, so nothing waits on them.
open_wine_desktop_test() { # name
    require_tools scripts/test-windows.sh Xvfb openbox trayer xdotool xwininfo wine /usr/bin/python3
    open_desktop_test "$1"
    start_desktop || exit 1
    export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    wineserver -p
    wine cmd /c exit < /dev/null > /dev/null 2>&1
}
on_cleanup() {
    # Keys held by a window that closed mid-key would stay down for the next run.
    [[ -n ${DISPLAY:-} ]] && xdotool keyup ctrl alt shift Up Return 2> /dev/null
    wineserver -k 2> /dev/null
    wineserver -w 2> /dev/null
}

# The icon: a small child window somewhere under the tray host's window.
find_icon() {
    local line x y width height
    while read -r line; do
        [[ $line =~ ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+\ +\+(-?[0-9]+)\+(-?[0-9]+)$ ]] || continue
        width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]}
        x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
        if ((width >= 8 && width <= 48 && height >= 8 && height <= 48)); then
            icon_x=$((x + width / 2)) icon_y=$((y + height / 2))
            return 0
        fi
    done < <(xwininfo -tree -id "$tray_window" 2> /dev/null | grep -E '^ +0x')
    return 1
}
# A right click that came while the program was busy is given once more.
tray_menu_clicks=2
