#!/usr/bin/env bash
# Start-up of TamCal against the smallest Qt Widgets program: time from process
# start to the window mapped, and the memory of the process tree 2 s later, on
# the ten-year profile. Builds what it needs into build/ (configured already,
# e.g. by scripts/build.sh) and runs both in turn under a fresh Xvfb without a
# window manager. Exit status 1 when a goal is missed.
#
#     bench/startup.sh [build folder]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build}")"

cmake --build "$build" -j2 --target tamcal bench_startup_floor bench_startup_map >/dev/null

# -a picks a free display; no window manager, so a map is the program's own.
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/bench/bench_startup_map" "$build/bench/bench_startup_floor" "$build/bin/tamcal"
