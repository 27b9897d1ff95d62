# Sourced by the tests that drive a Windows program under Wine on a desktop: an X server (Xvfb), a
# window manager (openbox) and a tray host (trayer), with xdotool's mouse and keys. The caller
# sets scratch (a folder of its own) and desktop_pids (an array it kills at its end).

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
    eventually tray_shown || { echo "no tray on $DISPLAY"; cat "$scratch/trayer.log"; return 1; }
}

# Pages and the main window are titled "Tarnwick"; the tray icon is a small window inside the
# tray host.
visible_pages() { xdotool search --onlyvisible --name '^Tarnwick$' 2> /dev/null; }
some_page_shows() { [[ -n $(visible_pages) ]]; }
geometry_of() { xdotool getwindowgeometry --shell "$1"; }
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
# The menu opens on the release of the right button over the icon; a click that came while the
# program was busy is given once more.
open_tray_menu() {
    local attempt
    for attempt in 1 2; do
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
