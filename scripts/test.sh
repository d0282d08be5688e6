#!/usr/bin/env bash
# Checks the formatting of every tracked C++ file, then builds and runs the
# whole test suite twice: an optimised Release build, and a build under
# AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target
# for a bounded time. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
ensure_packages "${app_packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}"

# Style never drifts: every C++ file git tracks is as clang-format writes it.
if ! git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror; then
    echo "Formatting differs from .clang-format; fix it with clang-format -i on the files above." >&2
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"

configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DJOIST_BUILD_TESTS=ON \
    -DJOIST_BUILD_BENCHMARKS=ON
ctest --test-dir build/release --output-on-failure --timeout 600

configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJOIST_SANITIZE=ON \
    -DJOIST_BUILD_TESTS=ON -DJOIST_BUILD_BENCHMARKS=ON
ctest --test-dir build/sanitize --output-on-failure --timeout 900

# Each fuzz target for a bounded time (about a minute each).
scripts/fuzz.sh "${JOIST_FUZZ_SECONDS:-60}"

echo "All tests passed (Release and sanitizer builds, fuzz targets)."
