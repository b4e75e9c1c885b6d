#!/usr/bin/env bash
# Configures and builds TamCal into build/, or into the folder given as the first
# argument; every other argument (-DNAME=VALUE...) goes to cmake.
#   scripts/build.sh                      build/
#   scripts/build.sh build-asan -DTAMCAL_SANITIZE=ON
#   scripts/build.sh -DTAMCAL_BENCH=ON    build/, with the benchmarks
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
if [ $# -gt 0 ] && [[ "$1" != -* ]]; then
    dir=$1
    shift
fi
cmake -S . -B "$dir" -G Ninja "$@"
cmake --build "$dir" --parallel "$(nproc)"
