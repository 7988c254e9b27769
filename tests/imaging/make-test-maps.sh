#!/usr/bin/env bash
# Makes the test maps in the encodings decoders hand over in other pixel formats, from one 48 x 24
# picture of 32 flat 6 x 6 blocks (few colours, so palettes hold it exactly), into folder $1.
set -euo pipefail
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

# Maps with colour profiles: a picture of flat 8 x 8 blocks (which JPEG keeps almost exactly) as
# JPEG and PNG with a wide-gamut profile embedded, with that profile renamed sRGB, with none, and
# as JPEG with that profile damaged (each of its 13 tags ever so long); and the sRGB picture the
# wide-gamut ones show, as ImageMagick's colour management works it out. ImageMagick embeds a
# profile in a picture that has none without touching its pixels; libpng leaves out a damaged one.
profiles=/usr/share/color/icc/colord
convert -seed 2 -size 8x4 xc: +noise Random -depth 8 -scale 64x32 PNG24:colours.png
convert colours.png -quality 100 -sampling-factor 1x1 colours.jpg
cp "$profiles/AdobeRGB1998.icc" wide.icc
perl -0777 -pe 's/\0A\0d\0o\0b\0e/\0s\0R\0G\0B\0 /g' wide.icc >srgb.icc
cp wide.icc damaged.icc
for tag in $(seq 0 12); do
    printf '\100' | dd of=damaged.icc bs=1 seek=$((140 + 12 * tag)) conv=notrunc status=none
done
for name in wide srgb damaged; do
    convert colours.png -profile "$name.icc" -quality 100 -sampling-factor 1x1 "colours-$name.jpg"
    [ "$name" = damaged ] || convert colours.png -profile "$name.icc" "PNG24:colours-$name.png"
done
convert colours-wide.png -profile "$profiles/sRGB.icc" +profile '*' PNG24:colours-as-srgb.png
