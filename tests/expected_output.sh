#!/usr/bin/env bash
# What the command line prints for a few designs and a schedule, compared
# whole with the files kept beside them in tests/expected_output/. After a
# change meant to alter that output, write them anew and review the diff:
#   tests/expected_output.sh build/release/bin/timber-joist tests/expected_output --regenerate
set -euo pipefail
program=$(realpath "$1")
dir=$2
mode=${3:-compare}
cd "$dir"
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name, then the program's arguments (paths relative to the folder)
cases=(
    "floor.check|--check floor.joist"
    "floor.json|--check floor.joist --json"
    "vibration.check|--check vibration.joist"
    "vibration.json|--check vibration.joist --json"
    "low-frequency.check|--check low-frequency.joist"
    "negative.check|--check negative.joist"
    "point-load.check|--check point-load.joist"
    "schedule|--schedule schedule.csv"
)
failed=0
for entry in "${cases[@]}"; do
    name=${entry%%|*}
    read -r -a arguments <<<"${entry#*|}"
    status=0
    "$program" "${arguments[@]}" >"$work/out" 2>"$work/err" </dev/null || status=$?
    { cat "$work/out"; echo "--- standard error"; cat "$work/err"; echo "--- exit $status"; } \
        >"$work/$name.out"
    if [ "$mode" = --regenerate ]; then
        cp "$work/$name.out" "$name.out"
    elif ! diff -u "$name.out" "$work/$name.out"; then
        echo "FAIL: timber-joist ${entry#*|} differs from $dir/$name.out" >&2
        failed=1
    fi
done
# Numbers leave in the same form whatever the user's locale: the JSON once
# more under one whose decimal separator is a comma.
mkdir -p "$work/locale"
localedef -i de_DE -f UTF-8 "$work/locale/de_DE.UTF-8" >/dev/null 2>&1 || true
if [ ! -d "$work/locale/de_DE.UTF-8" ]; then
    echo "FAIL: localedef could not make de_DE.UTF-8 (the Debian package locales)" >&2
    failed=1
elif [ "$mode" != --regenerate ]; then
    status=0
    LOCPATH=$work/locale LC_ALL=de_DE.UTF-8 "$program" --check vibration.joist --json \
        >"$work/out" 2>"$work/err" </dev/null || status=$?
    { cat "$work/out"; echo "--- standard error"; cat "$work/err"; echo "--- exit $status"; } \
        >"$work/de.out"
    if ! diff -u vibration.json.out "$work/de.out"; then
        echo "FAIL: --check --json under de_DE.UTF-8 differs from $dir/vibration.json.out" >&2
        failed=1
    fi
fi
exit $failed
