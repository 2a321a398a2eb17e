#!/usr/bin/env bash
# Installs what is missing, builds, starts the reference service on 127.0.0.1:8080 with a demo
# account, and runs the client logged in to it until Ctrl-C. Everything lives under build/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default

build=build/default
demo=$PWD/build/demo
mkdir -p "$demo/app/xml" "$demo/runtime"
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

echo "service on http://127.0.0.1:8080/ — demo account: demo / demo123; Ctrl-C ends the client"
XDG_RUNTIME_DIR="$demo/runtime" XDG_CONFIG_HOME="$demo/config" \
    "$build/app/marbello" --headless --app-dir "$demo/app" --service 127.0.0.1:8080 \
    --logid demo --password demo123 || true
