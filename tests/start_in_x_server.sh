#!/usr/bin/env bash
# Starts the program in a real X server (Xvfb, on the xcb platform, not
# offscreen) and checks that its main window appears with its caption, so a
# missing runtime package or plugin shows up here and not on a user's desk.
# A design named on the command line opens in it. Then starts a copy that
# has no database beside it, which must say so in a
# dialog rather than crash or show an empty window.
# Usage: start_in_x_server.sh <program>
set -euo pipefail
program=$1
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

# Let Xvfb choose a free display and tell us which.
# -noreset: a program started just as the last one quits would otherwise
# meet the server mid-reset and be refused.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
export QT_QPA_PLATFORM=xcb
# Settings the program writes (its recent designs) stay in the test's folder.
export XDG_CONFIG_HOME=$work/config
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

# wait_for_window <pid> <caption> <log>
wait_for_window() {
    for _ in $(seq 200); do
        if xwininfo -root -tree 2>/dev/null | grep -qF "\"$2\""; then
            return 0
        fi
        if ! kill -0 "$1" 2>/dev/null; then
            echo "the program exited before a window named \"$2\" appeared:" >&2
            cat "$3" >&2
            return 1
        fi
        sleep 0.1
    done
    echo "no window named \"$2\" within 20 seconds" >&2
    cat "$3" >&2
    return 1
}

"$program" >"$work/app.log" 2>&1 &
pids+=($!)
wait_for_window $! 'Timber Joist Design to EC5 by Brannoch' "$work/app.log"
echo "main window is up"

# A design file named on the command line opens after start-up, as the file
# manager's "Open With" does.
printf '{"format": "timber-joist design", "version": 1, "inputs": {"span": "3"}}' >"$work/floor.joist"
"$program" "$work/floor.joist" >"$work/file.log" 2>&1 &
pids+=($!)
wait_for_window $! 'floor.joist – Timber Joist Design to EC5 by Brannoch' "$work/file.log"
echo "a design named on the command line opens"

mkdir "$work/no-database"
cp "$program" "$work/no-database/"
"$work/no-database/$(basename "$program")" >"$work/missing.log" 2>&1 &
pids+=($!)
wait_for_window $! 'Timber Joist Design to EC5' "$work/missing.log"
# Only the first program's main window may be there.
if [ "$(xwininfo -root -tree | grep -cF '"Timber Joist Design to EC5 by Brannoch"')" -gt 1 ]; then
    echo "without its database the program showed a main window" >&2
    exit 1
fi
echo "without its database the program says so in a dialog"

# Without /proc the program cannot find its own directory: it must say so in
# the same dialog, not abort. A mount namespace hides /proc where the system
# allows one; AddressSanitizer itself needs /proc, so its builds skip this.
if ldd "$program" | grep -q libasan || ! unshare -rm true 2>/dev/null; then
    echo "skipped the start without /proc (no mount namespace, or a sanitizer build)"
    exit 0
fi
# The first dialog goes, so that it cannot be taken for the second.
kill "${pids[-1]}"
wait "${pids[-1]}" 2>/dev/null || true
for _ in $(seq 50); do
    xwininfo -root -tree | grep -qF '"Timber Joist Design to EC5"' || break
    sleep 0.1
done
unshare -rm sh -c 'mount -t tmpfs none /proc && exec "$0"' "$program" >"$work/no-proc.log" 2>&1 &
pids+=($!)
wait_for_window $! 'Timber Joist Design to EC5' "$work/no-proc.log"
echo "without /proc the program says so in a dialog"
