#!/usr/bin/env bash
# Builds the program and starts it on the shipped example model (or on the
# model given); without a display, the batch tool describes the example and
# tracks its particles.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRA_BUILD_TESTS=OFF -DKESTRA_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)" --target kestra kestra-cli
example=examples/mixed3d/mixed3d.nam
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/kestra "${@:-$example}"
fi
echo "No display: the batch tool describes the example model and tracks its particles instead."
build/kestra-cli info "$example"
mkdir -p build/example-output
build/kestra-cli track "$example" --particles examples/mixed3d/column2.par \
  --out build/example-output/column2.pathlines --endpoints build/example-output/column2-endpoints.csv
