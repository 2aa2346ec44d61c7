#!/usr/bin/env bash
# Runs the README's C example in a fresh folder and reads both of its files back with
# tools of their own: the PDF through poppler, the SVG through librsvg, then zbarimg.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$program"
pdftoppm -r 300 -gray -png cover.pdf pdf
rsvg-convert -d 300 -p 300 -b white cover.svg -o svg.png
for image in pdf-1.png svg.png; do
  found=$(zbarimg -q --raw -Sean5.enable "$image" 2>/dev/null | sort | tr '\n' ' ')
  if [ "$found" != "51299 9783161484100 " ]; then
    echo "$image: read '$found', expected the ISBN and its add-on"
    exit 1
  fi
done
echo "cover.pdf and cover.svg decode to 9783161484100 + 51299"
