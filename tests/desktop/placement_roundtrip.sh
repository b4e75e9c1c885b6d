#!/usr/bin/env bash
# Starts the real program five times on the X display in DISPLAY, with the day
# editor (the daily pop-up) and the report window open, and closes it with
# Escape. Every window must come back where it was left, to the pixel: its
# frame on the screen and the twips in the placement store stay the same from
# one run to the next, and the store holds the outer size shown.
#   tests/desktop/placement_roundtrip.sh PATH/TO/tamcal
# Needs xdotool, xwininfo and xprop; run it through scripts/desktop.sh.
set -euo pipefail

source "$(dirname "$0")/session.sh"
runs=5
today=$(date +%m%d%Y)
printf '[Main]\r\nDoPopup=True\r\n[Days]\r\n%sT=%s\r\n' "$today" \
    "$(printf 'Dentist at 10' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" >"$work/bin/tamcal.ini"
store="$work/config/TamCal/TamCal.conf"

# The window's frame on the screen in pixels, "left top width height": the
# client area and the frame extents the window manager sets (none without one).
outer_geometry() {
    local x y w h left=0 right=0 top=0 bottom=0 extents
    read -r x y w h < <(xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    [ -n "$extents" ] && IFS=, read -r left right top bottom <<<"$extents"
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# The store's Left, Top, Width, Height of a window, in pixels.
stored_geometry() {
    local section=$1
    awk -F= -v want="[$section]" '
        /^\[/ { inside = ($0 == want) }
        inside && $1 ~ /^(Left|Top|Width|Height)$/ { v[$1] = $2 / 15 }
        END { printf "%d %d %d %d\n", v["Left"], v["Top"], v["Width"], v["Height"] }' "$store"
}

previous=""
for run in $(seq "$runs"); do
    start_program
    calendar=$(calendar_window)
    editor=$(window_named "^Edit Day [0-9/]+$")
    xdotool windowraise "$calendar"
    sleep 0.3
    xdotool mousemove --window "$calendar" 60 120 click 3
    sleep 0.5
    xdotool key Down Down Return
    report=$(window_named "^Multi Day View$")
    # A window manager frames the windows a moment after they show.
    sleep 1.5

    shown=""
    for window in calendar editor report; do
        shown+="$window $(outer_geometry "${!window}")"$'\n'
    done
    end_with_escape "$calendar"

    for pair in "calendar frmCalView" "editor frmDayEdit" "report frmView"; do
        read -r window section <<<"$pair"
        on_screen=$(grep "^$window " <<<"$shown" | cut -d' ' -f2-)
        stored=$(stored_geometry "$section")
        [ "$on_screen" = "$stored" ] ||
            fail "run $run: $window showed at $on_screen but stored $stored (left top width height)"
    done
    echo "run $run:"
    echo -n "$shown"
    if [ -n "$previous" ] && [ "$shown" != "$previous" ]; then
        fail "run $run: the windows moved or changed size since the run before"
    fi
    previous=$shown
done
echo "placement round trip: $runs runs, every window unchanged"
