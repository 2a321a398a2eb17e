#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; with "package" also what
# building, checking and installing the Debian package needs. Idempotent: when every package is
# present it only checks, quietly.
set -euo pipefail

packages=(
    cmake g++ make pkg-config clang-format
    qt6-base-dev libxcb1-dev libxml2-dev libgtest-dev
    qt6-tools-dev qt6-l10n-tools
    libsqlite3-dev libcpp-httplib-dev libsodium-dev
    xvfb fonts-wqy-microhei trayer x11-utils tinyproxy-bin
    qt6-gtk-platformtheme gnome-themes-extra
    desktop-file-utils python3-gi gir1.2-glib-2.0
    # The tray display tests' desktops: xfce4-panel's status tray and waybar on sway (with
    # Qt's Wayland platform), a notification daemon, pointer clicks and screenshots.
    dbus dbus-x11 xfce4-panel sway waybar qt6-wayland dunst xdotool grim passwd
)
if [ "${1:-}" = package ]; then
    packages+=(
        debhelper dpkg-dev help2man lintian
        appstream systemd man-db file
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
