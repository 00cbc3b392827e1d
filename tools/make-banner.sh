#!/bin/sh
# Draws the About box's 468 x 60 banner for the project's support forum with ImageMagick and
# writes it to src/ui/res/banner.jpg (committed; rerun after changing the design).
# Flat colour areas keep their colour through JPEG compression (4:4:4, quality 92), so tests can
# check a few known pixels:
#   logo square (orange #F28C28): x 0..59 outside the white symbol, e.g. (6, 6)
#   background  (navy   #1B3B6F): e.g. (200, 4), (300, 55)
#   button      (yellow #FFD23F): x 352..419, y 16..43, e.g. (356, 20)
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../src/ui/res/banner.jpg}
fonts=/usr/share/fonts/truetype/liberation
convert -size 468x60 xc:'#1B3B6F' \
    -fill '#F28C28' -draw 'rectangle 0,0 59,59' \
    -fill none -stroke white -strokewidth 5 -draw 'arc 14,14 46,46 -60,240' \
    -draw 'line 30,9 30,30' \
    -stroke none -fill white -font "$fonts/LiberationSans-Bold.ttf" -pointsize 22 \
    -annotate +72+27 'Corvane Support-Forum' \
    -fill '#BCD4F5' -font "$fonts/LiberationSans-Regular.ttf" -pointsize 12 \
    -annotate +72+48 'Questions and bug reports: corvane.example.org' \
    -fill '#FFD23F' -draw 'roundrectangle 352,16 419,43 5,5' \
    -fill '#1B3B6F' -font "$fonts/LiberationSans-Bold.ttf" -pointsize 14 \
    -annotate +364+35 'Visit >' \
    -fill '#F28C28' -draw 'rectangle 432,0 467,59' \
    -strip -sampling-factor 1x1 -quality 92 "$out"
identify "$out"
