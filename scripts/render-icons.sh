#!/usr/bin/env bash
# Renders ui/icons/llave.svg to the PNG sizes the window and the desktop use.
# The PNGs are committed, so building needs no SVG renderer; run this again
# after changing the SVG. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../ui/icons"
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" llave.svg --output "llave-$size.png"
done
