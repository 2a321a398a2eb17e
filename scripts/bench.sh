#!/usr/bin/env bash
# Builds the benchmarks and prints their figures. bench_client_cpu takes about a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# bench_service_load measures the service against nginx, which only the benchmarks need.
if [ ! -x /usr/sbin/nginx ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends nginx-light
fi
scripts/build.sh default
for bench in bench_startup bench_store bench_parse bench_http bench_service_load bench_client_cpu; do
    echo "== $bench"
    "build/default/bench/$bench"
done
echo "== bench_message_log"
build/default/bench/bench_message_log
echo "== bench_tray (Xvfb with trayer)"
tests/e2e/with-tray-host.sh build/default/bench/bench_tray
