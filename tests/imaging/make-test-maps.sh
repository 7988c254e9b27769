#!/usr/bin/env bash
# Makes the test maps in the encodings decoders hand over in other pixel formats, from one 48 x 24
# picture of 32 flat 6 x 6 blocks (few colours, so palettes hold it exactly), into folder $1.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$1" && cd "$1"
convert -seed 1 -size 8x4 xc: +noise Random -depth 8 -scale 48x24 PNG24:day.png
convert day.png -colorspace Gray -type TrueColor PNG24:grey-as-rgb.png
for encoding in GIF:day.gif PNG8:day-palette.png PNG32:day-alpha.png; do
    convert day.png "$encoding"
done
convert day.png -type Palette BMP3:day-palette.bmp
convert day.png -depth 16 PNG48:day-16bit.png
convert day.png -colorspace CMYK -quality 100 day-cmyk.jpg
convert grey-as-rgb.png -type Grayscale -depth 8 day-grey.png
convert grey-as-rgb.png -type Grayscale -quality 100 day-grey.jpg
# Nights: the day's negative, at the day's size and at twice it in 2 x 2 blocks (which an
# area-correct shrink gives back exactly); one flat colour at half the size, which any enlarging
# keeps flat.
convert day.png -negate PNG24:night.png
convert night.png -filter point -resize 200% PNG24:night-double.png
convert -size 24x12 xc:'#102030' PNG24:night-half.png
convert -size 48x24 xc:'#102030' PNG24:night-flat.png
python3 "$here/make-profile-maps.py"
