#!/bin/sh
# Draws the application icon: a rounded green tile with five white sound-wave
# bars. Writes tosilk.ico (16, 32 and 48 pixels) for Windows and
# tosilk-48.png and tosilk-256.png for Linux desktops. Run again only when the
# drawing changes; its outputs are committed.
set -eu
cd "$(dirname "$0")"
draw() {  # size output
  s=$1
  convert -size 256x256 xc:none \
    -fill '#1aa260' -draw 'roundrectangle 8,8 247,247 48,48' \
    -fill white -stroke none \
    -draw 'roundrectangle 40,104 68,152 14,14' \
    -draw 'roundrectangle 84,68 112,188 14,14' \
    -draw 'roundrectangle 128,36 156,220 14,14' \
    -draw 'roundrectangle 172,76 200,180 14,14' \
    -draw 'roundrectangle 204,112 224,144 10,10' \
    -filter Lanczos -resize "${s}x${s}" "PNG32:$2"
}
for size in 16 32 48 256; do draw "$size" "tosilk-$size.png"; done
convert tosilk-16.png tosilk-32.png tosilk-48.png tosilk.ico
rm tosilk-16.png tosilk-32.png
