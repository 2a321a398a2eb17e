#!/usr/bin/env bash
# Installs what is missing, builds the client and the reference service, starts the service on
# 127.0.0.1:8080 with a demo account, and runs the client logged in to it until it is closed (or
# Ctrl-C): the tray client when a display is available, headless otherwise. Everything lives under
# build/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    mode=tray
    echo "running the tray client (a display is available)"
else
    mode=headless
    echo "running the client headless (no DISPLAY or WAYLAND_DISPLAY)"
fi
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target marbello marbello-service

build=build/default
demo=$PWD/build/demo
mkdir -p "$demo/app/xml" "$demo/runtime"
chmod 700 "$demo/runtime"
service="$build/service/marbello-service"
db="$demo/service.db"

"$service" add-user demo demo123 --db "$db" >/dev/null 2>&1 || true
"$service" --db "$db" &
service_pid=$!
trap 'kill $service_pid 2>/dev/null; wait $service_pid 2>/dev/null' EXIT
for _ in $(seq 50); do
    (exec 3<>/dev/tcp/127.0.0.1/8080) 2>/dev/null && break
    sleep 0.1
done
"$service" post-message demo --from marbello --from-ip 127.0.0.1 \
    --comment "欢迎使用 Marbello XP" --db "$db" >/dev/null

# The password comes on standard input: an argument would show in every user's process list.
arguments=(--app-dir "$demo/app" --service 127.0.0.1:8080 --logid demo --password-file -)
if [ "$mode" = headless ]; then
    arguments=(--headless "${arguments[@]}")
    echo "service on http://127.0.0.1:8080/ — demo account: demo / demo123; Ctrl-C ends the client"
else
    echo "service on http://127.0.0.1:8080/ — demo account: demo / demo123; the tray menu's 退出 ends the client"
fi
XDG_RUNTIME_DIR="$demo/runtime" XDG_CONFIG_HOME="$demo/config" \
    "$build/app/marbello" "${arguments[@]}" <<<demo123 || true
