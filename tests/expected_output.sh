#!/usr/bin/env bash
# What the command line prints for each case kept in tests/expected_output/,
# compared whole with the output kept beside it. A case is a file: NAME.joist
# is checked into NAME.check.out, and with --json into NAME.json.out where
# that file exists (add an empty one to want it); NAME.csv is run as a
# schedule into NAME.out. After a change meant to alter that output, or to
# fill a new case's, write them anew and review the diff:
#   tests/expected_output.sh build/release/bin/timber-joist tests/expected_output --regenerate
set -euo pipefail
program=$(realpath "$1")
dir=$2
mode=${3:-compare}
cd "$dir"
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shopt -s nullglob

# out file, then the program's arguments (paths relative to the folder)
cases=()
for design in *.joist; do
    name=${design%.joist}
    cases+=("$name.check.out|--check $design")
    if [ -e "$name.json.out" ]; then
        cases+=("$name.json.out|--check $design --json")
    fi
done
for schedule in *.csv; do
    cases+=("${schedule%.csv}.out|--schedule $schedule")
done
failed=0
# A kept output whose case is gone would pass unnoticed for ever.
for kept in *.out; do
    case " ${cases[*]} " in
    *" $kept|"*) ;;
    *)
        echo "FAIL: $dir/$kept belongs to no case (no .joist or .csv of its name)" >&2
        failed=1
        ;;
    esac
done
[ ${#cases[@]} -gt 0 ] || { echo "FAIL: $dir holds no case" >&2; exit 1; }

# Runs the command into the file $1, as the kept files hold its output.
run() {
    local out=$1 status=0
    shift
    "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
    { cat "$work/out"; echo "--- standard error"; cat "$work/err"; echo "--- exit $status"; } >"$out"
}

for entry in "${cases[@]}"; do
    kept=${entry%%|*}
    read -r -a arguments <<<"${entry#*|}"
    run "$work/$kept" "$program" "${arguments[@]}"
    if [ "$mode" = --regenerate ]; then
        cp "$work/$kept" "$kept"
    elif ! diff -u "$kept" "$work/$kept"; then
        echo "FAIL: timber-joist ${entry#*|} differs from $dir/$kept" >&2
        failed=1
    fi
done
# Numbers leave in the same form whatever the user's locale: each JSON case
# once more under one whose decimal separator is a comma.
mkdir -p "$work/locale"
localedef -i de_DE -f UTF-8 "$work/locale/de_DE.UTF-8" >/dev/null 2>&1 || true
if [ ! -d "$work/locale/de_DE.UTF-8" ]; then
    echo "FAIL: localedef could not make de_DE.UTF-8 (the Debian package locales)" >&2
    failed=1
elif [ "$mode" != --regenerate ]; then
    for kept in *.json.out; do
        run "$work/de.out" env LOCPATH="$work/locale" LC_ALL=de_DE.UTF-8 \
            "$program" --check "${kept%.json.out}.joist" --json
        if ! diff -u "$kept" "$work/de.out"; then
            echo "FAIL: --check --json under de_DE.UTF-8 differs from $dir/$kept" >&2
            failed=1
        fi
    done
fi
exit $failed
