#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) in a private D-Bus session and home, whose desktop
# is an xfce4-panel along the top with its status tray (a StatusNotifierItem host, which also
# takes X11 tray icons) and a notification daemon. With --late the panel starts 3 s after the
# command.
set -euo pipefail
late=0
if [ "${1:-}" = "--late" ]; then
    late=1
    shift
fi
source "$(dirname "${BASH_SOURCE[0]}")/../support/private-session.sh"
start_private_xvfb
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# One panel at the top holding only the status tray, so the first start asks nothing.
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=400;y=16"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="background-style" type="uint" value="1"/>
      <property name="background-rgba" type="array">
        <value type="double" value="1"/><value type="double" value="1"/>
        <value type="double" value="1"/><value type="double" value="1"/>
      </property>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML
export MARBELLO_WORK="$work" MARBELLO_LATE="$late"
dbus-run-session -- bash -c '
    set -euo pipefail
    dunst >/dev/null 2>&1 &
    if [ "$MARBELLO_LATE" = 1 ]; then
        export MARBELLO_PANEL_LATE=1
        (sleep 3; exec xfce4-panel >/dev/null 2>&1) &
    else
        xfce4-panel >/dev/null 2>&1 &
        # The status tray is up once its watcher is on the bus.
        for _ in $(seq 200); do
            dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
                org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher \
                2>/dev/null | grep -q true && break
            sleep 0.05
        done
    fi
    status=0
    "$@" || status=$?
    xfce4-panel --quit >/dev/null 2>&1 || true
    exit $status
' bash "$@"
