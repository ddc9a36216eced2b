#!/bin/sh
# Draws the site's icons from icon.svg (rsvg-convert, from librsvg2-bin,
# gives the same bytes run to run). The PNGs are committed: a build needs
# no rsvg-convert. Run it from anywhere after changing icon.svg.
set -eu
cd "$(dirname "$0")"
for size in 192 512; do rsvg-convert -w $size -h $size icon.svg -o icon-$size.png; done
rsvg-convert -w 180 -h 180 icon.svg -o apple-touch-icon.png
