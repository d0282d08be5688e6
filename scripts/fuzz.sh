#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [seconds-per-target]        (default 60)
# The repository's seed corpora are copied to a scratch directory, so the runs
# never change them. Exits non-zero if any target finds a crash, a leak or a
# broken invariant; the input that caused it is kept and its path printed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [seconds-per-target]" >&2
    exit 2
fi

build=build/fuzz
targets=(fuzz_number_text fuzz_design_check fuzz_strength_class_db)

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJOIST_FUZZ=ON -DJOIST_BUILD_TESTS=OFF \
    -DJOIST_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets

scratch=$(mktemp -d)
# The database target writes its file once per input: memory is faster than a
# disk file system, and spares the disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
summary=()
for target in "${targets[@]}"; do
    corpus=$scratch/$target
    mkdir -p "$corpus" "$scratch/artifacts"
    if [ -d "fuzz/corpus/$target" ]; then
        cp -r "fuzz/corpus/$target/." "$corpus/"
    fi
    if [ "$target" = fuzz_strength_class_db ]; then
        cp "$build"/fuzz/seeds/strength_class_db/*.mdb "$corpus/"
    fi
    log=$scratch/$target.log
    echo "== $target: ${seconds} s" >&2
    status=0
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$scratch/artifacts/$target-" \
        "$corpus" >"$log" 2>&1 || status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -n 1 |
        sed -n 's/.*\(cov: [0-9]* ft: [0-9]*\).*/\1/p' || true)
    crashes=$(find "$scratch/artifacts" -name "$target-*" | wc -l)
    summary+=("$(printf '%-24s %12s runs  %-22s %s crash(es)  exit %s' "$target" "${runs:-?}" \
        "${coverage:-cov: ?}" "$crashes" "$status")")
    if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
        failed+=("$target")
        echo "-- $target failed; the end of its log ($log):" >&2
        tail -n 40 "$log" >&2
        find "$scratch/artifacts" -name "$target-*" -printf '   input kept: %p\n' >&2
    fi
done

echo
echo "Fuzzing summary (${seconds} s per target):"
printf '  %s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED: ${failed[*]} (logs and inputs in $scratch)"
    exit 1
fi
rm -rf "$scratch"
echo "No crashes."
