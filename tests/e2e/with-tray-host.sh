#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) whose desktop has a notification area (trayer),
# then takes both down again. With --late the tray starts 3 s after the command.
set -euo pipefail
late=0
if [ "${1:-}" = "--late" ]; then
    late=1
    shift
fi
source "$(dirname "${BASH_SOURCE[0]}")/../support/private-session.sh"
start_private_xvfb

start_tray() {
    exec trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
        --transparent false --tint 0xffffff >/dev/null 2>&1
}
if [ $late -eq 1 ]; then
    export MARBELLO_PANEL_LATE=1
    (sleep 3; start_tray) &
    session_pids+=($!)
else
    start_tray &
    session_pids+=($!)
    # The tray is ready once it owns the system-tray selection of screen 0.
    for _ in $(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q '"panel"' && break
        sleep 0.05
    done
fi
"$@"
