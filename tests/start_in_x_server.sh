#!/usr/bin/env bash
# Starts the program in a real X server (Xvfb, on the xcb platform, not
# offscreen) and checks that its main window appears with its caption, so a
# missing runtime package or plugin shows up here and not on a user's desk.
# Usage: start_in_x_server.sh <program>
set -euo pipefail
program=$1
caption='Timber Joist Design to EC5 by Brannoch'
work=$(mktemp -d)
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
app_pid= xvfb_pid=

# Let Xvfb choose a free display and tell us which.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")

QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
app_pid=$!
for _ in $(seq 200); do
    if xwininfo -root -tree 2>/dev/null | grep -qF "\"$caption\""; then
        echo "main window is up: $caption"
        exit 0
    fi
    if ! kill -0 "$app_pid" 2>/dev/null; then
        echo "the program exited before its window appeared:" >&2
        cat "$work/app.log" >&2
        exit 1
    fi
    sleep 0.1
done
echo "no window named \"$caption\" within 20 seconds" >&2
cat "$work/app.log" >&2
exit 1
