#!/usr/bin/env bash
# Installs what is missing and builds Quillmark into build/ (both programs in build/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build --parallel "$(nproc)"
