#!/usr/bin/env bash
# Renders every window of the client on a private X server twice, once under Qt's own theme and
# once under the GTK platform theme with a dark GTK theme, and fails when any picture differs:
# the look owns every colour, so the desktop's theme must not show. The pictures stay in OUTPUT
# for review.
#   compare-themes.sh SCREENSHOTS_PROGRAM SHIPPED_FILES_DIR OUTPUT_DIR
set -euo pipefail
shots=$1 shipped=$2 output=$3
source "$(dirname "${BASH_SOURCE[0]}")/../support/private-session.sh"
start_private_xvfb 1024x768x24
export QT_QPA_PLATFORM=xcb
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"

rm -rf "$output"
mkdir -p "$output/default" "$output/dark"
env -u QT_QPA_PLATFORMTHEME -u GTK_THEME "$shots" "$shipped" "$output/default" >/dev/null \
    2>"$work/default.log"
QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark "$shots" "$shipped" "$output/dark" >/dev/null \
    2>"$work/dark.log"

# The comparison means something only when the desktop's palette was dark indeed.
desktop() { grep -o 'desktop palette: .*' "$work/$1.log" || echo "no desktop palette reported"; }
echo "default: $(desktop default)"
echo "dark:    $(desktop dark)"
if [ "$(desktop default)" = "$(desktop dark)" ]; then
    echo "the dark theme did not reach the client"
    exit 1
fi

count=0 differ=0
for picture in "$output/default"/*/*.png; do
    name=${picture#"$output/default/"}
    count=$((count + 1))
    if ! cmp -s "$picture" "$output/dark/$name"; then
        echo "differs under the dark theme: $name"
        differ=$((differ + 1))
    fi
done
echo "$count windows compared, $differ differ"
[ "$count" -gt 0 ] && [ "$differ" -eq 0 ]
