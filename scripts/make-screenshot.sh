#!/usr/bin/env bash
# Makes docs/screenshot.png with the program itself: the sample page fitted whole on an emulated
# 240x320 handheld screen. Needs a built viewer (build/release/src/velmora, or give its path).
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/release/src/velmora}
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
cat > "$config/user.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Quorrin\Velmora]
"DISPOPT"=dword:00000003
REG
QT_QPA_PLATFORM=offscreen "$binary" --config "$config" --screen 240x320 \
    --screenshot docs/screenshot.png "$PWD/samples/page-1600x2400.gif"
echo "docs/screenshot.png written"
