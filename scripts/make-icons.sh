#!/bin/sh
# Regenerates the program icon's PNG sizes and VWX_icon.ico from the SVG sources in resources/.
# The results are committed, so a build needs no image tools; run this after editing an SVG.
# Needs ImageMagick (convert). 16 and 24 pixels come from VWX_icon_small.svg, drawn on the
# 16-pixel grid; the larger sizes from VWX_icon.svg.
set -eu
cd "$(dirname "$0")/../resources"

# Renders $1 (drawn at $2 pixels) at 16 times the target size $3 and scales it down with a box
# filter: edges on the SVG's grid stay crisp, and ImageMagick's one-pixel overdraw of shapes
# vanishes at that scale. -strip keeps the files free of time stamps.
render() {
    convert -background none -density $((96 * 16 * $3 / $2)) "$1" -filter box -resize "$3x$3!" \
        -depth 8 -strip "PNG32:$4"
}

for size in 16 24; do
    render VWX_icon_small.svg 16 "$size" "VWX_icon_$size.png"
done
for size in 32 48 64 128 256; do
    render VWX_icon.svg 256 "$size" "VWX_icon_$size.png"
done
cp VWX_icon_256.png VWX_icon.png

convert VWX_icon_16.png VWX_icon_24.png VWX_icon_32.png VWX_icon_48.png VWX_icon_64.png VWX_icon_256.png \
    -strip VWX_icon.ico
echo "icons written to $(pwd)"
