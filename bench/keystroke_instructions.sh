#!/usr/bin/env bash
# Instructions per keystroke, program and floor, counted by callgrind (the
# count does not drift with the machine's speed).
# Usage: keystroke_instructions.sh <build dir> [keys]
set -euo pipefail
build=${1:?build directory}
keys=${2:-1000}
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A perKey
for window in program floor; do
    valgrind --tool=callgrind --toggle-collect='bench::oneKeystroke*' \
        --callgrind-out-file="$work/$window.out" \
        "$build/bench/keystroke_bench" --only "$window" "$keys" >/dev/null 2>"$work/$window.log"
    total=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/$window.log")
    perKey[$window]=$((total / keys))
done
echo "instructions per keystroke: program ${perKey[program]}, floor ${perKey[floor]}"
awk -v p="${perKey[program]}" -v f="${perKey[floor]}" 'BEGIN { printf "ratio %.3f\n", p / f }'
