#!/usr/bin/env bash
# Quick title drags as a hurried hand makes them, under a window manager
# (E2E_WM=openbox): twenty drags of twenty moves each, 25 to 50 pixels
# apart and 30 ms apart, a pause, the release; then the pointer moves on
# with no button held. The window stays where the release left it every
# time: one press, one move of the window manager's, none after the
# release.
#   fastdrag.sh PROGRAM NAME OUTDIR [DRAGS]
set -euo pipefail
program=$1 name=$2 outdir=$3 drags=${4:-20}
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
# The window's place once it has held still for 0.3 s (at most 5 s).
settled() {
  local last= now
  for _ in $(seq 50); do
    geometry; now="$X,$Y"
    [[ "$now" == "$last" ]] && return 0
    last=$now; sleep 0.1
  done
  return 1
}

steps() { # twenty relative moves, alternately along and across the direction
  local sx=$1 sy=$2 out=() k dx dy
  for k in $(seq 20); do
    dx=$(( (25 + (k * 7 + RANDOM) % 26) * sx )) dy=$(( (k % 3) * 4 * sy ))
    out+=(mousemove_relative -- "$dx" "$dy" sleep 0.03)
  done
  echo "${out[@]}"
}

stuck=0
for i in $(seq "$drags"); do
  settled || fail "the window does not hold still before drag $i"
  # Right on the odd drags, back left on the even ones: it stays on the screen.
  if (( i % 2 )); then sx=1; press=60; else sx=-1; press=$((WIDTH / 2)); fi
  xdotool mousemove --window "$window" $press 12 mousedown 1 sleep 0.05 $(steps $sx 1) sleep 0.3 mouseup 1
  settled || fail "the window does not hold still after the release of drag $i"
  rx=$X ry=$Y; echo "drag $i released at $rx,$ry" >&2
  xdotool sleep 0.2 mousemove_relative 90 70 sleep 0.3 mousemove_relative -- -40 50 sleep 0.3
  geometry
  if [[ "$X,$Y" != "$rx,$ry" ]]; then
    stuck=$((stuck + 1))
    shot "$run.stuck-$i"
    echo "e2e $run: drag $i: released at $rx,$ry, then the window followed the pointer to $X,$Y" >&2
    xdotool key Escape mouseup 1 2>/dev/null || true
    sleep 0.5
  fi
done
((stuck == 0)) || fail "the window went on following the pointer after $stuck of $drags releases"
close_and_check_exit
echo "e2e $run: $drags quick title drags, the window stayed where each release left it"
