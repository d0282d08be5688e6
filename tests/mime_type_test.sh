#!/bin/sh
# The design files' MIME type: the shared-mime-info XML builds a database in a
# folder of its own without a complaint, registers *.joist and the content
# match, and the desktop entry names the same type.
set -eu
xml=$1
desktop=$2
type=application/x-timber-joist+json

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/mime/packages"
cp "$xml" "$dir/mime/packages/"
# update-mime-database exits 0 even when it cannot parse a file: read what it says.
out=$(XDG_DATA_DIRS="$dir" update-mime-database "$dir/mime" 2>&1)
if printf '%s\n' "$out" | grep -Ei 'fail|error|warn|unknown|invalid'; then
    exit 1
fi
grep -qxF "50:$type:*.joist" "$dir/mime/globs2"
grep -qF 'timber-joist design' "$dir/mime/magic"
test -f "$dir/mime/$type.xml"
grep -qxF "MimeType=$type;" "$desktop"
grep -qxF 'Exec=timber-joist %f' "$desktop"
