#!/usr/bin/env bash
# Draws the program's icon (a camera) with ImageMagick and writes
# resources/lumora.ico with 16, 32, 48 and 256 px images. Run by hand when the
# drawing changes; the .ico is committed, so builds do not depend on the
# ImageMagick version.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#1f4e79' -draw 'roundrectangle 8,40 248,216 28,28' \
  -fill '#1f4e79' -draw 'roundrectangle 168,20 224,52 8,8' \
  -fill '#e8eef4' -draw 'circle 128,128 128,52' \
  -fill '#1f4e79' -draw 'circle 128,128 128,72' \
  -fill '#4fa3e0' -draw 'circle 128,128 128,92' \
  -fill '#ffffff' -draw 'circle 110,110 110,100' \
  -strip "$tmp/icon256.png"
convert "$tmp/icon256.png" -depth 8 -define icon:auto-resize=256,48,32,16 -strip resources/lumora.ico
