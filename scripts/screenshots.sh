#!/usr/bin/env bash
# Starts the real program on a virtual screen with the example model, places
# a group of particles with the placement dialog, runs them forward (a shot
# while the run goes on) and backward, and saves screenshots of the window,
# the results table and the dialogs: once on a 1366 x 768 screen and once
# at scale 2 (QT_SCALE_FACTOR=2 on a screen twice as large). Usage:
# screenshots.sh [out]
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

xvfb=""
program=""
work=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  [ -n "$work" ] && rm -rf "$work" || true
}
trap cleanup EXIT

# One session: screen size WxH, Qt scale factor, prefix of the PNG names.
session() {
  local size="$1" scale="$2" prefix="$3"
  # A copy of the model, so that the settings it writes stay out of the project.
  work="$(mktemp -d)"
  cp -r examples/mixed3d/. "$work/"
  local model="$work/mixed3d.nam"
  # Steps of one day, a time mark every 20 days on the plan and the sections:
  # runs long enough to be seen while they go on.
  cat >>"${model%.*}.ini" <<'INI'
[TIME]
Current UNIT=4
STEP LENGHT=1
Maximum Steps=1500
Mark Interval=20
Mark Size on Top View=8
Mark Size on Xsections=3
Mark on Top View=-1
Mark on Xsections=-1
INI

  # A display number nobody uses: no lock file and no socket of that number.
  local number=90
  while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  # Our own server must be the one answering: it is alive and its socket is there.
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$number" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start on :$number." >&2; exit 1; }
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$number" ] || { echo "Xvfb did not start on :$number." >&2; exit 1; }
  export DISPLAY=":$number"
  # The window's preferences (recent models) go to the temporary folder.
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR="$scale" build/kestra "$model" &
  program=$!

  local window=""
  for _ in $(seq 100); do
    window="$(xdotool search --name 'KESTRA - \[' 2>/dev/null | head -1 || true)"
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "The window did not open." >&2; exit 1; }
  sleep 2
  xdotool windowfocus --sync "$window" || true
  shot() { import -window root "$out/$prefix-$1.png"; echo "$out/$prefix-$1.png"; }
  # Keys go to the main window, which has no window manager to give it the focus.
  press() {
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --window "$window" "$@"
  }
  shot 1-opened

  # A drag over the middle of the plan with the set particles tool: the
  # placement dialog offers four particles per cell; Enter accepts.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local top=$((Y + 75 * scale)) left=$((X + 10 * scale))
  xdotool mousemove $((left + 200 * scale)) $((top + 150 * scale)) mousedown 1
  xdotool mousemove $((left + 260 * scale)) $((top + 200 * scale))
  xdotool mousemove $((left + 300 * scale)) $((top + 250 * scale)) mouseup 1
  sleep 1
  shot 2-placement-dialog
  xdotool key Return
  sleep 1
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  shot 3-particles

  # F5 runs forward: one shot while the pathlines are drawn, one at the end.
  xdotool mousemove $((left + 600 * scale)) $((top + 10 * scale))
  press F5
  sleep 0.8
  shot 4-run-in-progress
  sleep 12
  shot 5-forward
  press shift+F5
  sleep 12
  shot 6-backward

  # The runs stay after a zoom (two wheel notches over the plan) and a
  # layer change (Page Down); the Cell panel shows the cell under the pointer.
  xdotool mousemove $((left + 250 * scale)) $((top + 200 * scale))
  xdotool click 4 click 4
  sleep 1
  press Next
  sleep 1
  xdotool mousemove $((left + 260 * scale)) $((top + 210 * scale))
  sleep 0.5
  shot 7-kept-after-zoom-and-layer
  press ctrl+0 Prior
  sleep 1

  # Run, Particle Results: the sortable table of the end points.
  press alt+r
  sleep 0.3
  press t
  sleep 1
  shot 8-results
  # Out of the way of the dialogs that follow.
  xdotool search --name '^Particle Results$' windowunmap %@ 2>/dev/null || true
  sleep 0.5

  # Options, Particle Tracking (Time): the tracking options dialog, its
  # Simulation and Porosity tabs.
  press alt+o
  sleep 0.3
  press p
  sleep 1
  shot 9-tracking-options
  xdotool key ctrl+Tab ctrl+Tab
  sleep 0.5
  shot 10-tracking-simulation
  xdotool key ctrl+Tab ctrl+Tab
  sleep 0.5
  shot 11-tracking-porosity
  xdotool key Escape
  sleep 1

  # Options, Colour Flood, Head: the plan and the sections flooded, the
  # colour bar under the Legend panel, the Cell panel over a pathline.
  press alt+o
  sleep 0.3
  press f
  sleep 0.3
  press h
  sleep 1.5
  xdotool mousemove $((left + 250 * scale)) $((top + 200 * scale))
  sleep 0.5
  shot 13-colour-flood-legend-inspector

  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""

  # A transient model at its first stress period and, after two clicks on
  # the period box's up arrow in the toolbar, at its third.
  local transient="$work/transient"
  mkdir -p "$transient"
  cp -r tests/data/transient2/modflow/. "$transient/"
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR="$scale" build/kestra "$transient/transient2.nam" &
  program=$!
  sleep 4
  shot 14-transient-period-1
  xdotool mousemove $((X + 652 * scale)) $((Y + 33 * scale)) click 1
  sleep 1
  xdotool click 1
  sleep 1.5
  shot 15-transient-period-3
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""

  # A copy whose head file is cut short: the one question before it opens.
  local damaged="$work/damaged"
  mkdir -p "$damaged"
  cp -r examples/mixed3d/. "$damaged/"
  truncate -s 4566 "$damaged/mixed3d.hds"
  XDG_CONFIG_HOME="$work/config" QT_SCALE_FACTOR="$scale" build/kestra "$damaged/mixed3d.nam" &
  program=$!
  sleep 4
  shot 12-damaged-model-question
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  program=""
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  xvfb=""
  rm -rf "$work"
  work=""
}

session 1366x768 1 1366x768
session 2732x1536 2 scale2
