#!/usr/bin/env bash
# Start-up interrupted: the program is started RUNS times under a fresh Xvfb
# and asked to close the moment its window maps, while the bank's key is
# still being derived on a worker thread; then RUNS times more with the close
# coming 10, 20, ... ms after the map, across the rest of the derivation.
# Every run must end by itself with exit code 0. Prints the runs and the
# median time from the close to the program's end.
#   close-early.sh PROGRAM NAME OUTDIR MAPWAIT [RUNS]
set -euo pipefail
program=$1 name=$2 outdir=$3 mapwait=$4 runs=${5:-20}
fail() { echo "e2e $name: $*" >&2; exit 1; }

run="close-early-$name"
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
log="$outdir/$run.log"
: >"$log"

times=()
for i in $(seq $((2 * runs))); do
  delay=$(( i <= runs ? 0 : 10 * (i - runs) ))
  set +e
  out=$("$mapwait" -t 30000 -k "$delay" "$program" 2>>"$log")
  code=$?
  set -e
  echo "run $i, close $delay ms after the map: $out" >>"$log"
  [[ $code -eq 0 ]] || fail "run $i, close $delay ms after the map: ${out:-no result} (see $log)"
  times+=("${out%% *}")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (${#times[@]} + 1) / 2 ))p")
echo "e2e $name: closed $runs times at the map and $runs times up to $((10 * runs)) ms after it, exit code 0 each time; close to end median $((median / 1000)) ms"
