#!/usr/bin/env bash
# Process start to the X server's map of the window: a program against an
# empty Qt window of the same size, side by side under one Xvfb, in
# interleaved rounds (the order inside each round rotates). Prints the
# median of each, their ratio, and the number of rounds. A second program
# (another build of the same one, say) joins each round, for a before and
# after in one run.
#   bench/startup.sh [PAIRS] [PROGRAM [OTHER]]   (after a build; PAIRS >= 21, default 31;
#                                                PROGRAM defaults to build/penmaro/Penmaro)
# The screen's scale is the caller's: QT_SCALE_FACTOR=1.5 bench/startup.sh
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pairs=${1:-31}
program=${2:-$ROOT/build/penmaro/Penmaro}
other=${3:-}
empty=$ROOT/build/bench/EmptyWindow
mapwait=$ROOT/build/bench/mapwait
for f in "$program" "$empty" "$mapwait" ${other:+"$other"}; do
  [[ -x $f ]] || { echo "missing $f: build first (cmake --build build)" >&2; exit 1; }
done

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
samples=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$displayfile" "$samples"' EXIT
for _ in $(seq 100); do [[ -s $displayfile ]] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$displayfile")"

# A run of the program's own folder would leave its log there: each
# program runs from a copy of its folder.
runners=("$empty")
names=("$(basename "$empty")")
for p in "$program" ${other:+"$other"}; do
  copy=$samples/copy${#runners[@]}
  cp -r "$(dirname "$p")" "$copy"
  runners+=("$copy/$(basename "$p")")
  names+=("$p")
done
n=${#runners[@]}

once() { "$mapwait" "$1" 2>/dev/null | cut -d' ' -f1; }
# Warm-up: the first start of each pays for cold caches of the file system.
for _ in 1 2 3; do for r in "${runners[@]}"; do once "$r" >/dev/null; done; done
for i in $(seq "$pairs"); do
  for k in $(seq 0 $((n - 1))); do
    j=$(((i + k) % n))
    once "${runners[$j]}" >>"$samples/$j"
  done
done

median() { sort -n "$1" | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
e=$(median "$samples/0")
echo "rounds: $(wc -l <"$samples/0")${QT_SCALE_FACTOR:+, QT_SCALE_FACTOR=$QT_SCALE_FACTOR}"
echo "EmptyWindow: median $e us to map"
for j in $(seq 1 $((n - 1))); do
  p=$(median "$samples/$j")
  echo "${names[$j]}: median $p us to map"
  awk -v p="$p" -v e="$e" 'BEGIN {printf "ratio: %.2f\n", p / e}'
done
