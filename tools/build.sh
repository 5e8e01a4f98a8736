#!/usr/bin/env bash
# Installs what is missing and builds Quillmark into build/ (both programs in build/bin/).
# Uses ccache when it is installed (it is not needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" > /dev/null
cmake --build build --parallel "$(nproc)"
