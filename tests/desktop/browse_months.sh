#!/usr/bin/env bash
# Clicks the calendar's previous-month arrow of the real program 24 times, then
# turns the mouse wheel 24 notches back. Each click must show months not shown
# before (a calendar that jumps back to the selected day shows December again),
# and the way back must show the same pictures in reverse.
#   tests/desktop/browse_months.sh PATH/TO/tamcal
# Needs xdotool and ImageMagick; run it through scripts/desktop.sh.
set -euo pipefail

source "$(dirname "$0")/session.sh"
clicks=24
start_program
calendar=$(calendar_window)
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

end_with_escape "$calendar"
echo "browsing months: $clicks clicks back and $clicks wheel notches forward, never snapping back"
