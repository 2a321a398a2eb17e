#!/usr/bin/env bash
# Runs a command on its own X server (Xvfb, no tray) inside its own D-Bus session, then takes
# both down again.
set -euo pipefail
work=$(mktemp -d)
cleanup() {
    kill "${xvfb_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
dbus-run-session -- "$@"
