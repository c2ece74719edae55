#!/usr/bin/env bash
# Builds Velmora (release) when needed and starts it. ./run.sh [PICTURE] [options]
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release --target velmora
binary=build/release/src/velmora

args=("$@")
[ ${#args[@]} -eq 0 ] && args=("$PWD/samples/page-1600x2400.gif")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    shot="$PWD/build/velmora-screenshot.png"
    QT_QPA_PLATFORM=offscreen "$binary" --screen 240x320 --screenshot "$shot" "${args[@]}"
    echo "No display: ran offscreen; the screenshot is in $shot"
else
    exec "$binary" "${args[@]}"
fi
