#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each in turn for SECONDS (default 60)
# at low priority, from the committed seeds in fuzz/corpus/<target>. Targets named after SECONDS
# (e.g. "message_store") are the only ones built and run. Inputs that reach new code
# collect in build/fuzz/corpus/<target>; a crash leaves its input in build/fuzz/crashes/ and makes
# the script fail. Prints the executions each target ran.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

# The build's own packages, then clang with its fuzzing runtime (only this script needs them).
scripts/install-deps.sh
if ! command -v clang++ >/dev/null ||
    ! compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends clang libclang-rt-dev
fi

targets=(cp936 url_split http_reply service_answer config_load message_store service_request)
[ $# -eq 0 ] || targets=("$@")
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"

mkdir -p build/fuzz/crashes
failed=()
for target in "${targets[@]}"; do
    corpus=build/fuzz/corpus/$target
    log=build/fuzz/$target.log
    mkdir -p "$corpus"
    status=0
    nice -n 19 "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/crashes/$target-" "$corpus" "fuzz/corpus/$target" \
        >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if [ "$status" -eq 0 ]; then
        echo "fuzz_$target: ${runs:-?} executions in ${seconds}s, clean"
    else
        echo "fuzz_$target: FAILED after ${runs:-?} executions (exit $status); see $log"
        tail -n 30 "$log"
        failed+=("$target")
    fi
done
echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
