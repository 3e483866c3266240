#!/usr/bin/env bash
# The viewer's processor use under Xvfb (1920x1080, with a window manager when openbox and
# xprop are installed): the default flight at 1x with all four panel windows open, then paused,
# then at 16x to the flight's end and after it. Each figure is the viewer's CPU time (user
# and system, from /proc) over a measured stretch, in percent of one core; the frame rate
# while the flight runs is frames shown over the wall time. Sound goes to SDL's dummy
# driver. Nothing here passes or fails on a figure: it reports them.
#
#   scripts/viewer-cpu.sh [build folder]          needs xvfb and xdotool
#   SDL_FRAMEBUFFER_ACCELERATION=1 scripts/viewer-cpu.sh   the texture path, to compare
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
program="$build/tarn-panel"
root=$(cd "$(dirname "$0")/.." && pwd)
[ -x "$program" ] || { echo "viewer-cpu: $program is not built" >&2; exit 2; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "viewer-cpu: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

# A display of our own.
n=$((150 + $$ % 50))
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
export DISPLAY=":$n"
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
if command -v openbox >/dev/null && command -v xprop >/dev/null; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  # Ready once it has claimed the screen: a window mapped before is never managed.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.05
  done
fi
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER

# The default panel with every window open from the start.
sed 's/^visible=0/visible=1/' "$root/panel/panel.cfg" > "$work/panel.cfg"

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
# Percent of one core that process $1 takes over $2 seconds.
cpu() {
  local a b t0 t1
  a=$(ticks "$1"); t0=$(date +%s.%N)
  sleep "$2"
  b=$(ticks "$1"); t1=$(date +%s.%N)
  awk -v a="$a" -v b="$b" -v t0="$t0" -v t1="$t1" -v hz="$hz" 'BEGIN { printf "%.1f", 100 * (b - a) / hz / (t1 - t0) }'
}
main_window() { xdotool search --name "^TARN panel: Main" 2>/dev/null | head -1; }
key() { xdotool windowfocus --sync "$(main_window)" key "$@"; }
wait_window() {
  for _ in $(seq 600); do [ -n "$(main_window)" ] && return 0; sleep 0.05; done
  echo "viewer-cpu: the viewer's window did not show" >&2
  exit 1
}

echo "viewer CPU under Xvfb 1920x1080 ($(command -v openbox >/dev/null && command -v xprop >/dev/null && echo openbox || echo no window manager)," \
  "SDL_FRAMEBUFFER_ACCELERATION=${SDL_FRAMEBUFFER_ACCELERATION:-0}), percent of one core:"

# The frame rate: 1200 frames of the running flight, timed from the first window.
"$program" view --config "$work/panel.cfg" --frames 1200 >/dev/null &
viewer=$!
pids+=($viewer)
wait_window
t0=$(date +%s.%N)
wait "$viewer"
t1=$(date +%s.%N)
awk -v t0="$t0" -v t1="$t1" 'BEGIN { printf "  frames per second, flight running at 1x:   %.1f\n", 1200 / (t1 - t0) }'

"$program" view --config "$work/panel.cfg" >/dev/null &
viewer=$!
pids+=($viewer)
wait_window
sleep 3
echo "  1x, all four windows open (10 s):         $(cpu "$viewer" 10)"
key p
echo "  paused, its first second:                 $(cpu "$viewer" 1)"
echo "  paused, the next 5 s:                     $(cpu "$viewer" 5)"
key p plus plus plus plus
# At 16x the 640 s flight takes 40 s; the title says when it has ended.
for _ in $(seq 600); do
  xdotool getwindowname "$(main_window)" | grep -q "(ended)" && break
  sleep 0.1
done
xdotool getwindowname "$(main_window)" | grep -q "(ended)" || { echo "viewer-cpu: the flight did not end" >&2; exit 1; }
echo "  after the flight's end, its first second: $(cpu "$viewer" 1)"
echo "  after the flight's end, the next 5 s:     $(cpu "$viewer" 5)"
key Escape
wait "$viewer"
