#!/usr/bin/env bash
# Redraws the About window's logo and the menu icons with ImageMagick (not
# needed to build: the results are kept in the repository).
set -euo pipefail
cd "$(dirname "$0")"
convert=convert

pins=
for i in $(seq 0 13); do
  y=$((46 + i * 11))
  pins+="rectangle 28,$y 36,$((y + 5)) rectangle 86,$y 94,$((y + 5)) "
done

# 123 x 274: a night-blue panel, a 28-pin chip with its pins, a fuse link
# glowing across it, and the name written upwards.
"$convert" -size 123x274 gradient:'#0b2447-#19376d' \
  -fill '#2b2b2b' -stroke '#9aa5b1' -strokewidth 1 -draw 'roundrectangle 36,40 86,196 4,4' \
  -fill '#d9d9d9' -stroke none \
  -draw "$pins" \
  -fill '#0b2447' -draw 'circle 61,48 61,52' \
  -stroke '#ffb703' -strokewidth 3 -fill none -draw 'polyline 18,118 42,118 49,108 56,128 63,108 70,128 77,118 105,118' \
  -stroke none -fill '#ffb703' -draw 'circle 18,118 18,123' -draw 'circle 105,118 105,123' \
  -fill '#8ecae6' -font DejaVu-Sans-Bold -pointsize 18 -gravity south -annotate 0x0+0+42 'Fuse' \
  -fill '#ffffff' -pointsize 14 -annotate 0x0+0+22 'wright' \
  -fill '#ffb703' -draw 'rectangle 20,262 103,264' \
  -quality 92 about_logo.jpg

# The menu icons of the desktop entry: the window icon, scaled pixel for pixel.
for size in 32 64 128; do
  "$convert" fusewright.xpm -filter point -resize "${size}x${size}" \
    "../../platform/linux/icons/fusewright-$size.png"
done

# The Windows program icon, from the same window icon: the sizes Explorer and
# the taskbar ask for, the largest PNG-compressed (icotool from icoutils).
sizes=$(mktemp -d)
for size in 16 24 32 48 64 128 256; do
  "$convert" fusewright.xpm -filter point -resize "${size}x${size}" -define png:exclude-chunks=date,time "PNG32:$sizes/$size.png"
done
icotool -c -o ../../platform/windows/fusewright.ico -r "$sizes/256.png" "$sizes"/{16,24,32,48,64,128}.png
rm -rf "$sizes"
