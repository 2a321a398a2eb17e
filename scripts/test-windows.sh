#!/usr/bin/env bash
# What can be verified of the Windows build on this machine, which has no Qt for Windows:
# 1. every unit of core/, protocol/, platform/ (but the Linux backend), ui/ and app/ compiles for
#    Windows with MinGW-w64 (syntax only, against Debian's Qt and libxml2 headers, with the flags
#    of the Linux build's compile_commands.json);
# 2. the Windows backend's Qt-free core and its tests cross-build with MinGW-w64 and run under
#    wine in a private, temporary wine prefix (headless; nothing of the user's wine is touched).
# Installs what is missing with apt-get (the Qt and libxml2 headers come with install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

# wine64 is the 64-bit wine; "wine" adds the launcher. GoogleTest is built from its sources for
# the target, with the same compiler as the code under test.
packages=(cmake make g++-mingw-w64-x86-64-posix wine wine64 googletest)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The flags of each unit: configuring the Linux build is enough, nothing needs building.
scripts/install-deps.sh
cmake --preset ci >/dev/null
syntax=build/windows-syntax
cmake -DBUILD_DIR=build/ci -DOUTPUT_DIR="$syntax" -P cmake/WindowsSyntaxCheck.cmake
# One compiler per core; each unit's messages land beside its response file.
find "$syntax" -name '*.rsp' -print0 |
    xargs -0 -P "$(nproc)" -n 1 sh -c \
        'x86_64-w64-mingw32-g++-posix "@$1" 2>"${1%.rsp}.log" || touch "${1%.rsp}.failed"' unit
units=$(find "$syntax" -name '*.rsp' | wc -l)
broken_units=$(find "$syntax" -name '*.failed' | wc -l)
for unit in "$syntax"/*.failed; do
    [ -e "$unit" ] || continue
    echo "FAILED $(tail -n 1 "${unit%.failed}.rsp")"
    cat "${unit%.failed}.log"
done
echo "windows syntax check: $((units - broken_units)) of $units units compile"

build=build/windows
cmake -S tests/windows -B "$build" --toolchain "$PWD/cmake/toolchains/x86_64-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver64 || command -v wineserver)

WINEPREFIX=$(mktemp -d)
export WINEPREFIX
# No debug chatter, no offers to install browser or .NET add-ons, no display.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

echo "creating a wine prefix in $WINEPREFIX"
timeout 300 "$wine" wineboot --init
timeout 300 "$wineserver" -w

cd "$build"
log=$(mktemp)
status=0
timeout 300 "$wine" windowscore_tests.exe 2>&1 | tr -d '\r' | tee "$log" || status=$?
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' "$log")
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:$/\1/p' "$log")
rm -f "$log"
echo "windows: ${passed:-0} passed, ${failed:-0} failed"
[ "$units" -gt 0 ] && [ "$broken_units" -eq 0 ] || status=1
exit "$status"
