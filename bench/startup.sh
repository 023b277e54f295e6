#!/usr/bin/env bash
# Process start to window shown, Penmaro against an empty Qt window of the
# same size, side by side under one Xvfb: median of N runs each.
#   bench/startup.sh [N]    (after a build; needs Xvfb and xdotool)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs=${1:-15}
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$displayfile")"

measure() {
  local start end pid
  start=$(date +%s%N)
  "$1" >/dev/null 2>&1 &
  pid=$!
  # --sync polls only twice a second: poll by hand instead.
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do sleep 0.002; done
  end=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo $(( (end - start) / 1000 ))
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for program in "$ROOT/build/bench/EmptyWindow" "$ROOT/build/penmaro/Penmaro"; do
  m=$(for _ in $(seq "$runs"); do measure "$program"; done | median)
  echo "$(basename "$program"): median ${m} us to window shown"
done
