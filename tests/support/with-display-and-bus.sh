#!/usr/bin/env bash
# Runs a command on its own X server (Xvfb, no tray) inside its own D-Bus session, then takes
# both down again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/private-session.sh"
start_private_xvfb
dbus-run-session -- "$@"
