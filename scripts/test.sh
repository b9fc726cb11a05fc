#!/usr/bin/env bash
# Builds everything and runs every test. GUI tests run without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd build && ctest --output-on-failure -j"$(nproc)"
