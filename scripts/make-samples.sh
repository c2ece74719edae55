#!/usr/bin/env bash
# Writes samples/: the drawings of make-samples.py as BMP, GIF and MAG, then the same drawings
# converted by the viewer's own writers to JPEG, PNG, TIFF, WebP and AVIF.
# Usage: scripts/make-samples.sh [VIEWER]   (default build/release/src/velmora)
set -euo pipefail
cd "$(dirname "$0")/.."
viewer=${1:-build/release/src/velmora}
python3 scripts/make-samples.py
"$viewer" --convert samples/page-1600x2400.gif samples/page-1600x2400.jpg --quality 90
"$viewer" --convert samples/gradient.bmp samples/gradient.jpg --quality 90
"$viewer" --convert samples/shapes.bmp samples/shapes.png
"$viewer" --convert samples/gradient.bmp samples/gradient.png
"$viewer" --convert samples/gradient.bmp samples/gradient.tif
"$viewer" --convert samples/gradient.bmp samples/gradient.webp --quality 90
"$viewer" --convert samples/gradient.bmp samples/gradient.avif --quality 90
echo "samples/ written"
