#!/usr/bin/env bash
# Checks the manual page against the program: every option --help prints is
# in it, and every column a schedule writes (with the vibration and point-load
# columns) is
# named in it in bold, as its list of columns names them.
#
# Usage: manual_page_test.sh <program> <timber-joist.1>
set -euo pipefail
program=$1
page=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
missing=()

# The option column of --help: "-h, --help, -?", "--check <FILE.joist>".
"$program" --help | sed -n '/^Options:/,/^$/p' | grep -E '^  +-' | sed -E 's/^ +//; s/  .*//' |
    grep -oE -- '--?[a-z?]+' >"$work/options"
[ -s "$work/options" ] || { echo "FAIL: --help lists no options" >&2; exit 1; }
while read -r option; do
    grep -qF -- "${option//-/\\-}" "$page" || missing+=("option $option")
done <"$work/options"

printf 'id,vibration,pointLoad\nA,true,true\n' >"$work/in.csv"
"$program" --schedule "$work/in.csv" --output "$work/out.csv" 2>/dev/null || true
head -n1 "$work/out.csv" | tr -d '\r' | tr ',' '\n' | tail -n +3 >"$work/columns"
[ "$(wc -l <"$work/columns")" -gt 10 ] || { echo "FAIL: the schedule wrote no result columns" >&2; exit 1; }
while read -r column; do
    grep -qE "^\.BR? (.* )?\"?$column\b" "$page" || missing+=("schedule column $column")
done <"$work/columns"

if [ ${#missing[@]} -gt 0 ]; then
    printf 'FAIL: the manual page lacks the %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "the manual page has every option ($(wc -l <"$work/options")) and schedule column ($(wc -l <"$work/columns"))"
