#!/usr/bin/env bash
# Renders ui/icons/llave.svg to the PNG sizes the window and the desktop use,
# and packs those PNGs into llave.ico, the Windows program icon. The results
# are committed, so building needs no SVG renderer; run this again after
# changing the SVG. Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../ui/icons"
pngs=()
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" llave.svg --output "llave-$size.png"
    pngs+=("llave-$size.png")
done
convert "${pngs[@]}" llave.ico
