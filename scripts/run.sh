#!/usr/bin/env bash
# Builds the program (Release) and starts it. Needs a graphical session.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
ensure_packages "${app_packages[@]}"
build=build/release
# A fresh tree is configured without the tests and benchmarks, which need
# packages of their own; an existing one keeps its settings. Either way only
# the program and its database are built.
options=(-DCMAKE_BUILD_TYPE=Release)
if [ ! -f "$build/CMakeCache.txt" ]; then
    options+=(-DJOIST_BUILD_TESTS=OFF -DJOIST_BUILD_BENCHMARKS=OFF)
fi
cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" --target timber-joist
exec "$build/bin/timber-joist" "$@"
