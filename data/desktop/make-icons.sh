#!/usr/bin/env bash
# Draws the application icon (a format sheet with a survey target) at 256 pixels with
# ImageMagick and scales it down to the sizes the icon theme wants. The PNGs are kept in the
# repository; run this only to change the picture.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
convert=/usr/bin/convert
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT
"$convert" -size 256x256 xc:none \
  -fill '#00000030' -stroke none -draw 'roundrectangle 42,22 222,246 14,14' \
  -fill white -stroke '#5a6b7d' -strokewidth 6 \
  -draw 'path "M 48,16 L 170,16 L 214,60 L 214,236 L 48,236 Z"' \
  -fill '#d9e2ec' -draw 'path "M 170,16 L 170,60 L 214,60 Z"' \
  -stroke '#d22' -strokewidth 10 -draw 'line 74,66 150,66' \
  -stroke '#4b84c4' -strokewidth 10 \
  -draw 'line 74,98 188,98' -draw 'line 74,130 188,130' -draw 'line 74,162 124,162' \
  -stroke '#1c4f8c' -strokewidth 10 -fill '#ffffffe0' -draw 'circle 176,190 176,238' \
  -stroke '#d22' -strokewidth 8 \
  -draw 'line 176,146 176,234' -draw 'line 132,190 220,190' \
  -fill '#d22' -stroke none -draw 'circle 176,190 176,200' \
  "$big"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$here/icons/${size}x${size}"
  "$convert" "$big" -filter Lanczos -resize ${size}x${size} -strip \
    "PNG32:$here/icons/${size}x${size}/quarvel.png"
done
