#!/usr/bin/env bash
# Clicks the calendar's previous-month arrow of the real program 24 times, then
# turns the mouse wheel 24 notches back. Each click must show months not shown
# before (a calendar that jumps back to the selected day shows December again),
# and the way back must show the same pictures in reverse.
#   tests/desktop/browse_months.sh PATH/TO/tamcal
# Needs xdotool, xwininfo and ImageMagick; run it through scripts/desktop.sh.
set -euo pipefail

program=$(realpath "$1")
clicks=24
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mkdir -p "$work/bin" "$work/config"
cp "$program" "$work/bin/tamcal"
export XDG_CONFIG_HOME="$work/config"
"$work/bin/tamcal" >"$work/run.log" 2>&1 &
pid=$!

calendar=""
for _ in $(seq 200); do
    calendar=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1) || true
    [ -n "$calendar" ] && break
    sleep 0.1
done
[ -n "$calendar" ] || fail "the calendar did not show"
sleep 1.5

# A fingerprint of what the calendar shows.
picture() {
    sleep 0.3
    import -window "$calendar" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

declare -a back
back[0]=$(picture)
# The previous-month arrow sits at the left end of the first month's title.
xdotool mousemove --window "$calendar" 12 10
for i in $(seq "$clicks"); do
    xdotool click 1
    back[i]=$(picture)
    for j in $(seq 0 $((i - 1))); do
        [ "${back[i]}" != "${back[j]}" ] ||
            fail "click $i shows the months that click $j showed"
    done
done
for i in $(seq "$clicks"); do
    xdotool click 5
    [ "$(picture)" = "${back[clicks - i]}" ] ||
        fail "wheel notch $i back does not show what click $((clicks - i)) showed"
done

xdotool windowfocus --sync "$calendar" key Escape
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
wait "$pid" || fail "the program failed"
pid=""
echo "browsing months: $clicks clicks back and $clicks wheel notches forward, never snapping back"
