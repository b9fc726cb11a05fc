#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs and
# that are missing. Qt SVG writes vector figures, Qt's image format plugins TIFF.
set -euo pipefail

# Usage: install-deps.sh build|test|fuzz
packages=(cmake make g++ qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgtest-dev libbenchmark-dev libgdal-dev)
if [ "${1:-build}" = fuzz ]; then
  # libFuzzer and the sanitizers come with clang's runtime library.
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-build}" = test ]; then
  # A real DXF reader, to check that our plots open in CAD programs,
  # VTK's own reader, to check that our grid and pathline files open in
  # ParaView, GDAL's tools, to check that our GIS files open, and
  # poppler's, to check that figure PDFs hold text and paths, no image.
  packages+=(python3-ezdxf python3-vtk9 gdal-bin poppler-utils)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
