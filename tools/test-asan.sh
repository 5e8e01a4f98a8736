#!/usr/bin/env bash
# Builds Quillmark with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs
# every test there. Any sanitizer report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# -O1 with line tables only: about half the compile time of -O2 -g, and the reports still name
# file and line. NDEBUG as in the plain build, so both run the same code.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
      -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      -DQUILLMARK_BUILD_BENCHMARKS=OFF > /dev/null
cmake --build build-asan --parallel "$(nproc)"
cd build-asan
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
asan=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
# Tests labelled large-allocation ask on purpose for more memory than the machine has and
# check that the request is refused: they need the allocator to return null rather than abort.
ASAN_OPTIONS=$asan ctest --output-on-failure --timeout 900 --parallel "$(nproc)" -LE large-allocation
ASAN_OPTIONS=$asan:allocator_may_return_null=1 \
  ctest --output-on-failure --timeout 900 --parallel "$(nproc)" -L large-allocation
