#!/usr/bin/env bash
# Builds Quillmark and runs its main job: the application with a new design, or, on a
# machine without a display, the command-line demonstration (a photo turned into a chart and
# exported as a PDF of chart and key pages).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/quillmark "$@"
fi

echo "No display found: running the command-line demonstration instead."
demo=build/demo
mkdir -p "$demo"
cli=(build/bin/quillmark-cli --settings "$demo/settings.ini")
set -x
"${cli[@]}" --version
"${cli[@]}" convert data/samples/chelsea.png -o "$demo/chelsea.qvxp" --size 120 --colors 40 --dither floyd-steinberg
"${cli[@]}" export "$demo/chelsea.qvxp" -o "$demo/chelsea.pdf" --overwrite
{ set +x; } 2>/dev/null
echo "Wrote $demo/chelsea.qvxp (and its ghost picture $demo/chelsea.png); open it with build/bin/quillmark."
echo "Wrote the chart as a PDF, A4 pages of chart and key: $demo/chelsea.pdf"
