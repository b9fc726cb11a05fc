#!/usr/bin/env bash
# Builds the program and starts it on the shipped example model (or on the
# model given); without a display, the batch tool describes the example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRA_BUILD_TESTS=OFF -DKESTRA_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)" --target kestra kestra-cli
example=examples/mixed3d/mixed3d.nam
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/kestra "${@:-$example}"
fi
echo "No display: the batch tool describes the example model instead of the window."
build/kestra-cli info "$example"
# Tracking the example's particles: enable this line once kestra-cli track is on main.
# build/kestra-cli track "$example" examples/mixed3d/column2.par
