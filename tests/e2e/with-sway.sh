#!/usr/bin/env bash
# Runs a command on a private headless sway (Wayland, no input devices) with waybar along the
# top, whose tray is a StatusNotifierItem host, in a private D-Bus session and home. sway will
# not run as root, so as root the script runs itself again as an unprivileged user it creates;
# screenshots are then copied to build/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
shots_target="$here/../../build"

if [ "$(id -u)" -eq 0 ]; then
    user=marbello-e2e
    id "$user" >/dev/null 2>&1 || useradd --system --user-group --no-create-home \
        --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
    shots=$(mktemp -d)
    chown "$user" "$shots"
    status=0
    runuser -u "$user" -- env MARBELLO_SHOT_DIR="$shots" "$0" "$@" || status=$?
    mkdir -p "$shots_target"
    cp "$shots"/*.png "$shots_target"/ 2>/dev/null || true
    rm -rf "$shots"
    exit $status
fi

source "$(dirname "${BASH_SOURCE[0]}")/../support/private-session.sh"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
export MARBELLO_SHOT_DIR="${MARBELLO_SHOT_DIR:-$shots_target}"

cat >"$work/sway.conf" <<'CONF'
output HEADLESS-1 resolution 800x600 bg #000000 solid_color
default_border none
CONF
cat >"$work/waybar.json" <<'JSON'
{ "layer": "top", "position": "top", "height": 32, "modules-right": ["tray"],
  "tray": { "icon-size": 24, "spacing": 4 } }
JSON

export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
export MARBELLO_WORK="$work"
dbus-run-session -- bash -c '
    set -euo pipefail
    sway -c "$MARBELLO_WORK/sway.conf" >"$MARBELLO_WORK/sway.log" 2>&1 &
    for _ in $(seq 200); do
        socket=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n1 || true)
        display=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* 2>/dev/null | grep -v lock | head -n1 || true)
        [ -n "$socket" ] && [ -n "$display" ] && break
        sleep 0.05
    done
    export SWAYSOCK="$socket" WAYLAND_DISPLAY="$display"
    waybar -c "$MARBELLO_WORK/waybar.json" >"$MARBELLO_WORK/waybar.log" 2>&1 &
    dunst >/dev/null 2>&1 &
    # The tray is up once its watcher is on the bus.
    for _ in $(seq 200); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
            grep -q true && break
        sleep 0.05
    done
    status=0
    QT_QPA_PLATFORM=offscreen "$@" || status=$?
    [ $status -eq 0 ] || tail -n 20 "$MARBELLO_WORK/sway.log" "$MARBELLO_WORK/waybar.log" >&2
    swaymsg exit >/dev/null 2>&1 || true
    exit $status
' bash "$@"
