#!/bin/sh
# Converts a 24-megapixel JPEG into a 300-cell design with 40 DMC colours and Floyd-Steinberg
# dithering end to end, from the picture file to the design file and its ghost picture, with
# `quillmark-cli convert`, and the same picture with ImageMagick (resize, then remap to a
# picture of the DMC colours). The two run in turn, RUNS times each (default 3), so that both
# see the same load; prints the median times, their ratio, the peak memory of both and the
# load average.
# The 24-megapixel JPEG is made from PICTURE (default: the bundled sample photo).
# Installs ImageMagick and GNU time and builds first when needed.
# Usage: tools/bench-convert.sh [BUILD_DIR [PICTURE]]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
source_picture=${2:-$here/data/samples/chelsea.png}
runs=${RUNS:-3}
magick=/usr/bin/convert
gnutime=/usr/bin/time
work=$build/bench-convert
bash "$here/tools/install-deps.sh"
bash "$here/tools/install-deps.sh" --bench
[ -f "$build/CMakeCache.txt" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
mkdir -p "$work"

[ -x "$magick" ] || { echo "ImageMagick's convert is needed ($magick)" >&2; exit 1; }
[ -x "$gnutime" ] || { echo "GNU time is needed ($gnutime)" >&2; exit 1; }
cmake --build "$build" --target quillmark-cli convert-picture -j2 >/dev/null
cli=$build/bin/quillmark-cli

big=$work/$(basename "${source_picture%.*}")-24mp.jpg
if [ ! -f "$big" ]; then
    "$magick" "$source_picture" -resize '6000x4000!' -quality 92 "$big"
fi
"$build/bench/convert-picture" --write-palette "$work/dmc-palette.png" --palette DMC 2>/dev/null

now() { echo $(( $(date +%s%N) / 1000000 )); } # milliseconds

# run NAME COMMAND...: one timed run; appends the milliseconds to $work/NAME.ms and the peak
# resident memory (KiB, from GNU time -v) to $work/NAME.kb.
run() {
    name=$1
    shift
    start=$(now)
    "$gnutime" -v -o "$work/$name.time" "$@" >/dev/null
    echo $(( $(now) - start )) >>"$work/$name.ms"
    sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$work/$name.time" >>"$work/$name.kb"
}
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
peak() { sort -n "$1" | tail -n 1; }

rm -f "$work"/ours.ms "$work"/ours.kb "$work"/theirs.ms "$work"/theirs.kb
i=0
while [ "$i" -lt "$runs" ]; do
    run ours "$cli" --settings "$work/settings.ini" convert "$big" -o "$work/quillmark.qvxp" \
        --size 300 --colors 40 --dither floyd-steinberg --level 100 --palette DMC
    # ImageMagick has no "40 most used colours of a palette" step: it maps onto the whole
    # palette, which is the larger job of the two.
    run theirs "$magick" "$big" -resize 300x300 -dither FloydSteinberg -remap "$work/dmc-palette.png" \
        "$work/imagemagick.png"
    i=$((i + 1))
done

ours=$(median "$work/ours.ms")
theirs=$(median "$work/theirs.ms")
printf 'Quillmark:   %d ms (median of %d: %s), peak memory %d KiB\n' "$ours" "$runs" \
    "$(tr '\n' ' ' <"$work/ours.ms" | sed 's/ $//')" "$(peak "$work/ours.kb")"
printf 'ImageMagick: %d ms (median of %d: %s), peak memory %d KiB\n' "$theirs" "$runs" \
    "$(tr '\n' ' ' <"$work/theirs.ms" | sed 's/ $//')" "$(peak "$work/theirs.kb")"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "Ratio:       %.2f (Quillmark / ImageMagick)\n", a / b }'
printf 'Load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
