#!/usr/bin/env bash
# Renders every window of the client, in Chinese and in English, to build/screenshots/zh/*.png and
# build/screenshots/en/*.png (offscreen, with the CJK font).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target marbello-screenshots marbello
build/default/tests/ui/marbello-screenshots build/default/app build/screenshots
