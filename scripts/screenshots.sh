#!/usr/bin/env bash
# Starts the real program on a virtual screen with the example model, sets
# particles with the right button, runs them forward and backward with time
# marks on, and saves screenshots of the window. Usage: screenshots.sh [out]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screenshots}"
mkdir -p "$out"

need=()
for tool in Xvfb:xvfb xdotool:xdotool import:imagemagick; do
  command -v "${tool%%:*}" >/dev/null || need+=("${tool##*:}")
done
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}"
fi
bash scripts/install-deps.sh build
cmake -S . -B build >/dev/null
cmake --build build --target kestra -j2 >/dev/null

# A copy of the model, so that the settings it writes stay out of the project.
work="$(mktemp -d)"
cp -r examples/mixed3d/. "$work/"
model="$work/mixed3d.nam"
# Time marks on the plan and the sections, a mark every step of 20 days.
settings="${model%.*}.ini"
cat >>"$settings" <<'INI'
[TIME]
Current UNIT=4
STEP LENGHT=20
Maximum Steps=40
Mark Interval=1
Mark Size on Top View=8
Mark Size on Xsections=3
Mark on Top View=-1
Mark on Xsections=-1
INI

# A display number nobody uses: no lock file and no socket of that number.
number=90
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
  number=$((number + 1))
done
display=":$number"
program=""
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill $program "$xvfb" 2>/dev/null || true; rm -rf "$work" || true; }
trap cleanup EXIT
# Our own server must be the one answering: it is alive and its socket is there.
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$number" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start on $display." >&2; exit 1; }
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$number" ] || { echo "Xvfb did not start on $display." >&2; exit 1; }
export DISPLAY="$display"
build/kestra "$model" &
program=$!

window=""
for _ in $(seq 50); do
  window="$(xdotool search --name 'KESTRA - \[' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "The window did not open." >&2; exit 1; }
sleep 1
xdotool windowfocus --sync "$window" || true
shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }
shot 1-opened

# The plan starts at the upper left of the drawing area below the toolbar:
# right clicks down a column of cells near the grid's left edge and across
# the middle set single particles (clicks outside the grid only beep).
eval "$(xdotool getwindowgeometry --shell "$window")"
top=$((Y + 90))
for step in 0 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((X + 40)) $((top + 40 + step * 60)) click 3
  xdotool mousemove $((X + 200 + step * 50)) $((top + 330)) click 3
done
sleep 0.5
shot 2-particles

# Run, Forward through the menu's keys.
xdotool key --window "$window" alt+r
sleep 0.3
xdotool key --window "$window" f
sleep 3
shot 3-forward

xdotool key --window "$window" alt+r
sleep 0.3
xdotool key --window "$window" b
sleep 3
shot 4-backward
