#!/usr/bin/env bash
# Builds Quillmark and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
cd build
ctest --output-on-failure --timeout 900 --parallel "$(nproc)"
