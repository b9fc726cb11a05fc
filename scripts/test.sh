#!/usr/bin/env bash
# Builds everything and runs every test. GUI tests run without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
# Every part on, whatever an earlier run.sh left in the build folder's cache.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRA_BUILD_GUI=ON -DKESTRA_BUILD_TESTS=ON -DKESTRA_BUILD_BENCH=ON
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd build && ctest --output-on-failure --no-tests=error -j"$(nproc)"
