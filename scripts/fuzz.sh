#!/usr/bin/env bash
# Builds every fuzz target with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for SECONDS
# (default 20). The committed seeds in fuzz/corpus/<name>/ are only read: what a
# run learns goes to build-fuzz/corpus/<name>/. Any crash fails the script; its
# input stays in build-fuzz/crashes/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
dir=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DTAMCAL_FUZZ=ON -DTAMCAL_GUI=OFF -DBUILD_TESTING=OFF \
    -DTAMCAL_BENCH=OFF >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target tamcal_fuzzers

failed=()
for seeds in fuzz/corpus/*/; do
    name=$(basename "$seeds")
    work="$dir/corpus/$name"
    crashes="$dir/crashes/$name"
    log="$dir/fuzz-$name.log"
    mkdir -p "$work" "$crashes"
    if "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "$seeds" >"$log" 2>&1; then
        result=clean
    else
        result=FAILED
        failed+=("$name")
        tail -n 60 "$log"
        echo "input kept in $crashes/:"
        ls -l "$crashes"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    echo "fuzz_$name: ${runs:-?} runs, ${speed:-?} exec/s, $result"
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
