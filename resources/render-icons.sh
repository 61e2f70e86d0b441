#!/usr/bin/env bash
# Renders the SVG sources in svg/ into the PNGs compiled into the program.
set -euo pipefail
cd "$(dirname "$0")"
for svg in svg/*.svg; do
  name=$(basename "$svg" .svg)
  if [ "$name" = logo ]; then
    rsvg-convert "$svg" -o "icons/$name.png"
  else
    rsvg-convert -w 32 -h 32 "$svg" -o "icons/$name.png"
  fi
done
