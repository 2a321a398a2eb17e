#!/usr/bin/env bash
# Builds the Debian package build/package/marbello_0.994-1_amd64.deb (release build of what ships,
# through debian/ and debhelper), checks it with lintian and prints its installed size.
# With --test it then installs it, runs the installed programs and removes it again
# (tests/package/run.sh; needs root or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

test=false
case "${1:-}" in
--test) test=true ;;
"") ;;
*)
    echo "usage: scripts/package.sh [--test]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh package

version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
output=build/package
deb="$output/marbello_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"

# dpkg-buildpackage writes beside the source tree, so it builds a copy inside build/package.
rm -rf "$output"
source="$output/marbello-$upstream"
mkdir -p "$source"
tar --exclude=./build --exclude=./.git -cf - . | tar -C "$source" -xf -
(
    cd "$source"
    DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -b -us -uc
)
rm -rf "$source"

echo "== lintian"
lintian --fail-on error --display-info "$deb"
echo "== $deb: installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"

if $test; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo tests/package/run.sh "$deb"
fi
