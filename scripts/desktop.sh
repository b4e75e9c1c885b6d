#!/usr/bin/env bash
# Runs a command in a desktop session of its own: an Xvfb screen of 1280x1024
# with the openbox window manager, so windows get frames, placement and
# activation as a person's windows do. Both are stopped by process id afterwards.
# With --no-wm the screen has no window manager: windows without frames.
#   scripts/desktop.sh [--no-wm] COMMAND [ARGS...]
set -euo pipefail

with_wm=1
if [ "${1:-}" = "--no-wm" ]; then
    with_wm=0
    shift
fi
[ $# -gt 0 ] || { echo "usage: $0 [--no-wm] COMMAND [ARGS...]" >&2; exit 2; }

xvfb_pid=""
openbox_pid=""
display_file=$(mktemp)
openbox_log=$(mktemp)
stop() {
    [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null && wait "$openbox_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -f "$display_file" "$openbox_log"
    return 0
}
trap stop EXIT

# Xvfb picks a free display itself and writes its number only once it accepts
# connections; its socket file appears earlier, and a client that connects in
# between is refused. Without -noreset the server resets whenever its last
# client leaves, and refuses whoever connects during the reset: the probe below
# that waits for openbox would, now and then, make openbox's own connection fail.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb did not open a display in time" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"

start_openbox() {
    openbox --sm-disable >"$openbox_log" 2>&1 &
    openbox_pid=$!
    # The window manager is up once it has claimed the screen.
    for _ in $(seq 300); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
        kill -0 "$openbox_pid" 2>/dev/null || {
            echo "openbox did not start:" >&2
            cat "$openbox_log" >&2
            exit 1
        }
        sleep 0.1
    done
    echo "openbox did not take the screen in time" >&2
    exit 1
}
[ "$with_wm" = 1 ] && start_openbox

export QT_QPA_PLATFORM=xcb
"$@"
