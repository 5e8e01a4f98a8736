#!/usr/bin/env bash
# Draws the PNG sizes of the application icon from its SVG (dist/icons/hicolor/scalable/apps)
# into dist/icons/hicolor/<N>x<N>/apps/. The PNGs are committed, so the build needs no SVG
# renderer; run this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --icons
name=org.quillmark.Quillmark
svg=dist/icons/hicolor/scalable/apps/$name.svg
for size in 16 24 32 48 64 128 256; do
  dir=dist/icons/hicolor/${size}x${size}/apps
  mkdir -p "$dir"
  rsvg-convert --width "$size" --height "$size" --format png --output "$dir/$name.png" "$svg"
  echo "$dir/$name.png"
done
