#!/usr/bin/env bash
# Runs a command in a real X server (Xvfb, on the xcb platform), where the
# platform's own key bindings apply as on a user's desk.
# Usage: in_x_server.sh <command> [arguments...]
set -euo pipefail
work=$(mktemp -d)
xvfb_pid=''
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")
export QT_QPA_PLATFORM=xcb
"$@"
