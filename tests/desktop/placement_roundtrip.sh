#!/usr/bin/env bash
# Starts the real program five times on the X display in DISPLAY, with the day
# editor (the daily pop-up) and the report window open, and closes it with
# Escape. Every window must come back where it was left, to the pixel: its
# frame on the screen and the twips in the placement store stay the same from
# one run to the next, and the store holds the outer size shown.
#   tests/desktop/placement_roundtrip.sh PATH/TO/tamcal
# Needs xdotool, xwininfo and xprop; run it through scripts/desktop.sh.
set -euo pipefail

program=$(realpath "$1")
runs=5
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/bin" "$work/config"
cp "$program" "$work/bin/tamcal"
today=$(date +%m%d%Y)
printf '[Main]\r\nDoPopup=True\r\n[Days]\r\n%sT=%s\r\n' "$today" \
    "$(printf 'Dentist at 10' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" >"$work/bin/tamcal.ini"
export XDG_CONFIG_HOME="$work/config"
store="$work/config/TamCal/TamCal.conf"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to 20 seconds for a visible window of the program whose name
# matches $1 and not $2, and gives its id.
window_named() {
    local id name
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            name=$(xdotool getwindowname "$id")
            if grep -Eq "$1" <<<"$name" && ! grep -Eq "${2:-^\$}" <<<"$name"; then
                echo "$id"
                return
            fi
        done
        sleep 0.1
    done
    fail "no window named like '$1'"
}

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

# Lets the windows settle; a window manager frames them a moment after they show.
settle() {
    sleep 1.5
}

previous=""
for run in $(seq "$runs"); do
    "$work/bin/tamcal" >"$work/run$run.log" 2>&1 &
    pid=$!
    # The calendar has no caption of its own.
    calendar=$(window_named "." "^Edit Day|^Multi Day View$")
    editor=$(window_named "^Edit Day [0-9/]+$")
    xdotool windowraise "$calendar"
    sleep 0.3
    xdotool mousemove --window "$calendar" 60 120 click 3
    sleep 0.5
    xdotool key Down Down Return
    report=$(window_named "^Multi Day View$")
    settle

    shown=""
    for window in calendar editor report; do
        shown+="$window $(outer_geometry "${!window}")"$'\n'
    done
    xdotool windowfocus --sync "$calendar" key Escape
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "run $run: the program did not end on Escape"
    wait "$pid" || fail "run $run: the program failed"
    pid=""

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
