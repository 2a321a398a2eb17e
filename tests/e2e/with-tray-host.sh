#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) whose desktop has a notification area (trayer),
# then takes both down again. With --late the tray starts 3 s after the command.
set -euo pipefail
late=0
if [ "${1:-}" = "--late" ]; then
    late=1
    shift
fi
work=$(mktemp -d)
cleanup() {
    kill "${trayer_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"

start_tray() {
    exec trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
        --transparent false --tint 0xffffff >/dev/null 2>&1
}
if [ $late -eq 1 ]; then
    export MARBELLO_PANEL_LATE=1
    (sleep 3; start_tray) &
    trayer_pid=$!
else
    start_tray &
    trayer_pid=$!
    # The tray is ready once it owns the system-tray selection of screen 0.
    for _ in $(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q '"panel"' && break
        sleep 0.05
    done
fi
"$@"
