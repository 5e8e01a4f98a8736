#!/bin/sh
# Converts a 24-megapixel JPEG into a 300-cell design with 40 DMC colours and Floyd-Steinberg
# dithering, once with Quillmark's conversion pipeline (bench/convert-picture) and once with
# ImageMagick (resize, then remap to a picture of the DMC colours), and prints both times.
# The 24-megapixel JPEG is made from PICTURE (default: the bundled sample photo).
# Installs ImageMagick and builds first when needed.
# Usage: tools/bench-convert.sh [BUILD_DIR [PICTURE]]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
source_picture=${2:-$here/data/samples/chelsea.png}
magick=/usr/bin/convert
work=$build/bench-convert
bash "$here/tools/install-deps.sh"
bash "$here/tools/install-deps.sh" --bench
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
mkdir -p "$work"

[ -x "$magick" ] || { echo "ImageMagick's convert is needed ($magick)" >&2; exit 1; }
cmake --build "$build" --target convert-picture -j2 >/dev/null
tool=$build/bench/convert-picture

big=$work/$(basename "${source_picture%.*}")-24mp.jpg
if [ ! -f "$big" ]; then
    "$magick" "$source_picture" -resize '6000x4000!' -quality 92 "$big"
fi
"$tool" --write-palette "$work/dmc-palette.png" --palette DMC

now() { echo $(( $(date +%s%N) / 1000000 )); } # milliseconds

start=$(now)
"$tool" "$big" "$work/quillmark.png" --size 300 --colors 40 --dither floyd-steinberg --palette DMC
ours=$(( $(now) - start ))

# ImageMagick has no "40 most used colours of a palette" step: it maps onto the whole palette,
# which is the larger job of the two.
start=$(now)
"$magick" "$big" -resize 300x300 -dither FloydSteinberg -remap "$work/dmc-palette.png" "$work/imagemagick.png"
theirs=$(( $(now) - start ))

printf 'Quillmark:   %d ms\nImageMagick: %d ms\n' "$ours" "$theirs"
