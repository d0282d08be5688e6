#!/usr/bin/env bash
# Installs the build into a temporary prefix as a user would, checks what was
# installed, and starts the installed program through its bin link in a real X
# server (Xvfb, xcb platform). Passes when the main window comes up with its
# caption and its start-up results, when the program read the database beside
# its real executable and no other, and when that database is unchanged.
#
# Usage: installed_program_test.sh <cmake> <build dir> <build-tree program>
# Needs: Xvfb, xwininfo and xprop (x11-utils), xwd (x11-apps), strace, python3,
# appstreamcli (appstream), man (man-db).
set -euo pipefail
cmake=$1
build=$2
reference_program=$3
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
capture_tool=$here/window_capture.py
caption='Timber Joist Design to EC5 by Brannoch'
start_dir=$PWD

work=$(realpath "$(mktemp -d)")
prefix=$work/prefix
app_pid='' tracer_pid='' xvfb_pid=''
cleanup() {
    for pid in $app_pid $tracer_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# --- Install ---------------------------------------------------------------

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install $build failed"; }

# --- Layout ----------------------------------------------------------------

cd "$prefix"
private=libexec/timber-joist
sizes=(16 32 48 64 128 256)
expected=(bin/timber-joist "$private/timber-joist" "$private/ZU5ZO.mdb" "$private/EN338-2016.mdb"
    "$private/EN14080.mdb" "$private/timber-joist.html"
    share/applications/timber-joist.desktop
    share/doc/timber-joist/changelog.gz share/doc/timber-joist/copyright
    share/lintian/overrides/timber-joist share/man/man1/timber-joist.1.gz
    share/metainfo/io.github.brannoch.TimberJoist.metainfo.xml
    share/mime/packages/timber-joist.xml)
for n in "${sizes[@]}"; do expected+=("share/icons/hicolor/${n}x$n/apps/timber-joist.png"); done
# Exactly these: no test, benchmark, generator or database builder.
if ! diff <(printf '%s\n' "${expected[@]}" | sort) \
    <(find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/layout.diff"; then
    cat "$work/layout.diff" >&2
    fail "the installed files are not the program's ('<' missing, '>' unexpected)"
fi

[ -L bin/timber-joist ] || fail "bin/timber-joist is not a symbolic link"
[ "$(readlink bin/timber-joist)" = "../$private/timber-joist" ] ||
    fail "bin/timber-joist points to $(readlink bin/timber-joist), not ../$private/timber-joist"
[ "$(realpath bin/timber-joist)" = "$prefix/$private/timber-joist" ] ||
    fail "bin/timber-joist does not resolve to $private/timber-joist"
[ -x "$private/timber-joist" ] || fail "$private/timber-joist is not executable"

reference_database=$(dirname "$reference_program")/ZU5ZO.mdb
cmp -s "$private/ZU5ZO.mdb" "$reference_database" ||
    fail "the installed ZU5ZO.mdb is not the one the build made ($reference_database)"
for n in "${sizes[@]}"; do
    cmp -s "share/icons/hicolor/${n}x$n/apps/timber-joist.png" \
        "$source_dir/assets/icons/${n}x$n/timber-joist.png" ||
        fail "the installed ${n}x$n icon is not the generated one"
done
cmp -s "$private/timber-joist.html" "$(dirname "$reference_program")/timber-joist.html" ||
    fail "the installed manual is not the one the build made"
# What man shows, without its warnings.
MANWIDTH=80 man --warnings -l share/man/man1/timber-joist.1.gz >"$work/man.txt" 2>"$work/man.log" &&
    [ ! -s "$work/man.log" ] && grep -q '^NAME' "$work/man.txt" ||
    { cat "$work/man.log" >&2; fail "man cannot show the installed manual page"; }
cmp -s share/applications/timber-joist.desktop "$source_dir/packaging/timber-joist.desktop" ||
    fail "the installed .desktop file differs from packaging/timber-joist.desktop"
# The menu entry must name what was installed.
grep -qx 'Exec=timber-joist %f' share/applications/timber-joist.desktop ||
    fail "the .desktop entry does not start bin/timber-joist"
grep -qx 'Icon=timber-joist' share/applications/timber-joist.desktop ||
    fail "the .desktop entry does not name the installed icon"
grep -qF '<launchable type="desktop-id">timber-joist.desktop</launchable>' \
    share/metainfo/io.github.brannoch.TimberJoist.metainfo.xml ||
    fail "the metainfo does not launch the installed .desktop entry"
# What a software centre reads from the installed tree.
appstreamcli validate-tree --no-net "$prefix" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the installed tree"; }
echo "installed layout is right"

# --- The command line, with no display ---------------------------------------

printf '{"format": "timber-joist design", "version": 1, "inputs": {}}' >"$work/start.joist"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/timber-joist" \
    --check "$work/start.joist" >"$work/check.log" 2>&1 || status=$?
[ "$status" -le 1 ] && grep -q '^Result: Joist' "$work/check.log" ||
    { cat "$work/check.log" >&2; fail "the installed program's --check gave no verdict (exit $status)"; }
echo "the installed program checks a design file without a display"

# --- The database before ---------------------------------------------------

database=$prefix/$private/ZU5ZO.mdb
fingerprint() { sha256sum "$database"; stat -c '%y %s %a' "$database"; ls -A "$prefix/$private"; }
fingerprint >"$work/database.before"

# --- A real X server ---------------------------------------------------------

# -noreset: a program started just as the last one quits would otherwise
# meet the server mid-reset and be refused.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY
export QT_QPA_PLATFORM=xcb
# Settings of the test's own, as of a user who has opened the context menu:
# the message line then shows only what would make the results out of date.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/timber-joist"
printf '[help]\ncontextMenuUsed=true\n' >"$XDG_CONFIG_HOME/timber-joist/timber-joist.conf"
# The program is ended by a signal, so a leak report would be noise; the
# sanitizers' other checks stay on.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

# Prints the id and the owner's process id of the window with the caption.
find_window() {
    local id
    local id pid
    id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$caption\":" | awk 'NR == 1 {print $1}')
    [ -n "$id" ] || return 1
    pid=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk -F' = ' '{print $2}')
    [ -n "$pid" ] || return 1
    echo "$id $pid"
}

# Captures the window until its results are shown and stay the same between
# two captures (the text cursor blinks elsewhere in the window).
capture_results() {
    local id=$1 pid=$2 out=$3
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || return 1
        if xwd -id "$id" -silent >"$out.new" 2>/dev/null &&
            python3 "$capture_tool" results "$out.new" 2>"$out.why" &&
            [ -s "$out" ] && python3 "$capture_tool" same-results "$out" "$out.new" 2>/dev/null; then
            return 0
        fi
        mv -f "$out.new" "$out" 2>/dev/null || true
        sleep 0.2
    done
    return 1
}

# Keeps a picture of the window where the test ran, for whoever reads the failure.
keep_picture() {
    if python3 "$capture_tool" png "$1" "$start_dir/$2" 2>/dev/null; then
        echo "the window as captured: $start_dir/$2" >&2
    fi
}

# --- The installed program, started through its link ---------------------

# One log per thread (-ff), so that no call is split across lines.
strace -ff -qq -e trace=open,openat,openat2,creat -e signal=none -o "$work/opens" \
    "$prefix/bin/timber-joist" >"$work/app.log" 2>&1 &
tracer_pid=$!
window=
for _ in $(seq 300); do
    window=$(find_window) && break
    kill -0 "$tracer_pid" 2>/dev/null ||
        { cat "$work/app.log" >&2; fail "the installed program exited before its window appeared"; }
    sleep 0.1
done
[ -n "$window" ] || { cat "$work/app.log" >&2; fail "no window named \"$caption\" within 30 seconds"; }
read -r window_id app_pid <<<"$window"
echo "main window is up: $caption"

[ "$(realpath "/proc/$app_pid/exe")" = "$prefix/$private/timber-joist" ] ||
    fail "the window belongs to $(realpath "/proc/$app_pid/exe"), not the installed program"
[ "$(tr '\0' '\n' <"/proc/$app_pid/cmdline" | head -n1)" = "$prefix/bin/timber-joist" ] ||
    fail "the program was not started through bin/timber-joist"

if ! capture_results "$window_id" "$app_pid" "$work/installed.xwd"; then
    cat "$work/installed.xwd.why" "$work/app.log" >&2
    keep_picture "$work/installed.xwd" installed_program_window.png
    fail "the installed program's window does not show its start-up results"
fi
echo "start-up results are shown"

kill "$app_pid"
wait "$tracer_pid" || true
app_pid='' tracer_pid=''

# --- Which database it read, and how ----------------------------------------

# Every open of a path naming the database (the file itself, or SQLite's
# journal beside it) is of the installed one, and none may write or create.
cat "$work"/opens.* | grep -F 'ZU5ZO.mdb' >"$work/database.opens" || true
sed -n 's/^[a-z0-9]*([^"]*"\([^"]*\)".*/\1/p' "$work/database.opens" | sort -u >"$work/database.paths"
[ -s "$work/database.paths" ] || fail "the program never opened a ZU5ZO.mdb"
while read -r path; do
    case $path in
    "$database" | "$database-journal" | "$database-wal") ;;
    *) fail "the program opened $path, not the database beside it ($database)" ;;
    esac
done <"$work/database.paths"
grep -F "\"$database\", O_RDONLY" "$work/database.opens" | grep -q '= [0-9][0-9]*$' ||
    fail "the program did not open $database read-only"
if grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|creat\(' "$work/database.opens" >&2; then
    fail "the program opened its database for writing"
fi
echo "the program read $database and no other database"

fingerprint >"$work/database.after"
diff "$work/database.before" "$work/database.after" >&2 ||
    fail "the installed database or its directory changed while the program ran"
echo "the installed database is unchanged"

# --- The same results as the build tree's program ----------------------------

"$reference_program" >"$work/reference.log" 2>&1 &
app_pid=$!
window=
for _ in $(seq 300); do
    window=$(find_window) && [ "${window#* }" = "$app_pid" ] && break
    window=
    kill -0 "$app_pid" 2>/dev/null ||
        { cat "$work/reference.log" >&2; fail "the build tree's program exited early"; }
    sleep 0.1
done
[ -n "$window" ] || fail "the build tree's program showed no window"
capture_results "${window% *}" "$app_pid" "$work/reference.xwd" ||
    { cat "$work/reference.xwd.why" >&2; fail "the build tree's program shows no results"; }
if ! python3 "$capture_tool" same-results "$work/installed.xwd" "$work/reference.xwd"; then
    keep_picture "$work/installed.xwd" installed_program_window.png
    keep_picture "$work/reference.xwd" build_tree_program_window.png
    fail "the installed program shows other results than the build tree's"
fi
echo "the installed program shows the build tree's results"
