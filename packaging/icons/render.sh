#!/usr/bin/env bash
# Renders the PNG sizes of the hicolor theme from the SVG; run after changing the SVG and commit
# the PNGs (the build does not need an SVG renderer).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
id=com.tavrin.quvselect
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$here/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$here/$id.svg" -o "$here/${size}x${size}/$id.png"
done
