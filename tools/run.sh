#!/usr/bin/env bash
# Builds Quillmark and runs its main job: the application with a new design, or, on a
# machine without a display, the command-line demonstration.
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
"${cli[@]}" new --width 50 --height 50 --palette DMC --characters "Quillmark Symbols"
