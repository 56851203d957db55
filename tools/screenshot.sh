#!/usr/bin/env bash
# Takes a screenshot of the desktop editor on a virtual display:
#   tools/screenshot.sh [FOLDER] [OUT.png]
# FOLDER defaults to a fresh copy of examples/Demo, OUT to build/screenshot.png.
# Uses a private settings folder, so the one-time warning never covers the window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:-}"
out="$(realpath -m "${2:-$root/build/screenshot.png}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if [ -z "$folder" ]; then
    folder="$work/Demo"
    cp -r "$root/examples/Demo" "$folder"
fi
mkdir -p "$work/config/com.brenquil.verbalo"
echo '{ "com.brenquil.stop.warning": true }' > "$work/config/com.brenquil.verbalo/verbalo.json"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1440x900x24" sh -c '
    "$0" "$1" >/dev/null 2>&1 & app=$!
    sleep 4
    import -window root "$2"
    kill $app; wait $app 2>/dev/null || true' "$root/build/bin/verbalo" "$folder" "$out"
echo "$out"
