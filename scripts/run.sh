#!/usr/bin/env bash
# Builds the program and starts it; without a display, the batch tool shows
# what it can do instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRA_BUILD_TESTS=OFF -DKESTRA_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)" --target kestra kestra-cli
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/kestra "$@"
fi
echo "No display: showing the batch tool instead of the window."
build/kestra-cli --help
