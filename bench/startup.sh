#!/usr/bin/env bash
# Process start to the X server's map of the window: a program against an
# empty Qt window of the same size, side by side under one Xvfb, in
# interleaved pairs (the order inside each pair alternates). Prints the
# median of each, their ratio, and the number of pairs.
#   bench/startup.sh [PAIRS] [PROGRAM]    (after a build; PAIRS >= 21, default 31;
#                                          PROGRAM defaults to build/penmaro/Penmaro)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pairs=${1:-31}
program=${2:-$ROOT/build/penmaro/Penmaro}
empty=$ROOT/build/bench/EmptyWindow
mapwait=$ROOT/build/bench/mapwait
for f in "$program" "$empty" "$mapwait"; do
  [[ -x $f ]] || { echo "missing $f: build first (cmake --build build)" >&2; exit 1; }
done

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
samples=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$displayfile" "$samples"' EXIT
for _ in $(seq 100); do [[ -s $displayfile ]] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$displayfile")"

# A run of the program's own folder would leave its log there: each run
# gets a copy of the folder.
copy=$samples/program
cp -r "$(dirname "$program")" "$copy"
program=$copy/$(basename "$program")

once() { "$mapwait" "$1" 2>/dev/null | cut -d' ' -f1; }
# Warm-up: the first start of each pays for cold caches of the file system.
for _ in 1 2 3; do once "$empty" >/dev/null; once "$program" >/dev/null; done
for i in $(seq "$pairs"); do
  if (( i % 2 )); then
    once "$empty" >>"$samples/empty"; once "$program" >>"$samples/program.us"
  else
    once "$program" >>"$samples/program.us"; once "$empty" >>"$samples/empty"
  fi
done

median() { sort -n "$1" | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
n=$(wc -l <"$samples/empty")
e=$(median "$samples/empty")
p=$(median "$samples/program.us")
echo "pairs: $n"
echo "EmptyWindow: median $e us to map"
echo "$(basename "$program"): median $p us to map"
awk -v p="$p" -v e="$e" 'BEGIN {printf "ratio: %.2f\n", p / e}'
