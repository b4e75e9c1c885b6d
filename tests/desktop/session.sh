# Shared by the desktop tests: a copy of the real program, with its report
# window's library, in a folder of its own (its profile beside it, its placement store under $work/config), started
# and ended as a person does. Source it with the program's path in $1.

program=$(realpath "$1")
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/bin" "$work/config"
cp "$program" "$work/bin/tamcal"
cp "$(dirname "$program")"/libtamcal_reportwindow.so "$work/bin/"
export XDG_CONFIG_HOME="$work/config"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_program() {
    "$work/bin/tamcal" >>"$work/run.log" 2>&1 &
    pid=$!
}

# Waits up to 20 seconds for a visible window of the program whose name
# matches $1 and not $2, and gives its id.
window_named() {
    local id name
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            name=$(xdotool getwindowname "$id")
            if grep -Eq "$1" <<<"$name" && ! grep -Eq "${2:-^\\$}" <<<"$name"; then
                echo "$id"
                return
            fi
        done
        sleep 0.1
    done
    fail "no window named like '$1'"
}

# The calendar has no caption of its own.
calendar_window() {
    window_named "." "^Edit Day|^Multi Day View$"
}

# Escape in the calendar window ends the run; the program must end in time
# and without an error.
end_with_escape() {
    xdotool windowfocus --sync "$1" key Escape
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end on Escape"
    wait "$pid" || fail "the program failed"
    pid=""
}
