#!/usr/bin/env bash
# Times the real program from its start until its main window maps, under Xvfb with a window
# manager, in a network of its own where the update server's name leads to a local peer:
#   bench/startup_bench.sh <program folder> <peer> [report folder] [runs]
# peer: healthy    serves a version file naming this version
#       silent     accepts the connection and never answers
#       unanswered never answers the connection attempt (its queue of connections is full)
#       offline    no server at all (the name does not resolve)
# The report folder (default: an empty one) becomes the reports directory in a private store.
# Prints one time per run (default 5). Needs root for the private network and mount namespace,
# and Xvfb, openbox, xprop and /usr/bin/python3.
set -euo pipefail

if [[ ${1:-} != --inside ]]; then
    [[ $# -ge 2 ]] || { sed -n '2,11p' "$0"; exit 2; }
    exec unshare --net --mount --fork "$0" --inside "$@"
fi
shift
program=$(realpath "$1")
peer=$2
reports=${3:-}
runs=${4:-5}

work=$(mktemp -d)
children=()
cleanup() {
    for ((i = ${#children[@]} - 1; i >= 0; i--)); do kill "${children[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

ip link set lo up
printf '127.0.0.1 localhost\n' >"$work/hosts"
[[ $peer == offline ]] || printf '127.0.0.1 update.brindle.example\n' >>"$work/hosts"
mount --bind "$work/hosts" /etc/hosts
# The program's store lies under /etc/xdg: a copy of it with this run's store takes its place.
mkdir -p "$work/config"
cp -a /etc/xdg/. "$work/config/"

mkdir -p "$work/site/Tarnwick" "$work/config/registry/HKEY_LOCAL_MACHINE/Software/Brindle" \
    "$work/runtime" "$work/home" "$work/empty-reports"
chmod 700 "$work/runtime"
printf '[Tarnwick]\r\nVersion=1.41\r\nURL=http://update.brindle.example/\r\n' \
    >"$work/site/Tarnwick/version.dat"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Brindle\\Tarnwick]\n"DirectoryReports"="%s"\n' \
    "${reports:-$work/empty-reports}" >"$work/config/registry/HKEY_LOCAL_MACHINE/Software/Brindle/Tarnwick.reg"
mount --bind "$work/config" /etc/xdg

/usr/bin/python3 - "$peer" "$work/site" <<'EOF' &
import functools, http.server, socket, sys, threading, time
peer, site = sys.argv[1], sys.argv[2]
if peer == "healthy":
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    handler = functools.partial(Quiet, directory=site)
    http.server.ThreadingHTTPServer(("127.0.0.1", 80), handler).serve_forever()
elif peer in ("silent", "unanswered"):
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 80))
    server.listen(0)
    held = []
    if peer == "unanswered":
        # Connections that are never accepted fill the queue; later attempts get no answer.
        for _ in range(3):
            filler = socket.socket()
            filler.setblocking(False)
            try:
                filler.connect(("127.0.0.1", 80))
            except BlockingIOError:
                pass
            held.append(filler)
        time.sleep(1e6)
    while True:
        held.append(server.accept()[0])
else:
    time.sleep(1e6)
EOF
children+=($!)

# A free display of Xvfb's own choosing.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
children+=($!)
read -r -t 20 display <&"$displayfd"
export DISPLAY=:$display
openbox >"$work/openbox.log" 2>&1 &
children+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || { cat "$work/openbox.log"; exit 1; }

export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home"
for run in $(seq "$runs"); do
    cp -r "$program/." "$work/program"
    rm -f "$work/program/version.dat"
    # Spying on the window manager's list of windows prints a line when a window is managed.
    coproc SPY { stdbuf -oL xprop -root -spy _NET_CLIENT_LIST 2>/dev/null; }
    read -r _ <&"${SPY[0]}"  # the list before the start
    start=$(date +%s.%N)
    "$work/program/tarnwick" >"$work/tarnwick.log" 2>&1 &
    tarnwick=$!
    mapped=
    while read -r -t 20 line <&"${SPY[0]}"; do
        [[ $line == *0x* ]] && { mapped=$(date +%s.%N); break; }
    done
    kill "$SPY_PID" "$tarnwick" 2>/dev/null || true
    wait "$tarnwick" 2>/dev/null || true
    copy=$(find "$work/program" "$work/home" -name version.dat | head -1)
    rm -rf "$work/program"
    find "$work/home" -mindepth 1 -delete
    [[ -n $mapped ]] || { echo "run $run: no window within 20 s"; cat "$work/tarnwick.log"; continue; }
    awk -v run="$run" -v s="$start" -v m="$mapped" -v copy="${copy:+, version.dat fetched}" \
        'BEGIN { printf "run %d: main window mapped %.3f s after start%s\n", run, m - s, copy }'
done
