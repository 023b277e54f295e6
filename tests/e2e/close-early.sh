#!/usr/bin/env bash
# Start-up interrupted: the program is started RUNS times under a fresh Xvfb
# and asked to close the moment its window maps, while the bank's key is
# still being derived on a worker thread; then RUNS times more with the close
# coming 10, 20, ... ms after the map, across the rest of the derivation.
# Every run must end by itself with exit code 0. Prints the runs and the
# median time from the close to the program's end.
#   close-early.sh PROGRAM NAME OUTDIR CLOSEATMAP [RUNS]
set -euo pipefail
program=$1 name=$2 outdir=$3 closeatmap=$4 runs=${5:-20}
fail() { echo "e2e $name: $*" >&2; exit 1; }

# A folder of its own, as every e2e script: build/<name>/ stays as built.
run="close-early-$name"
mkdir -p "$outdir"
folder=$(mktemp -d "$outdir/$run.XXXXXX")
cp -a "$(dirname "$program")/." "$folder/"
program="$folder/$(basename "$program")"
log="$outdir/$run.log"
: >"$log"

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfile"
  rm -rf "$folder"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
[[ -s "$displayfile" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$displayfile")"

times=()
for i in $(seq $((2 * runs))); do
  delay=$(( i <= runs ? 0 : 10 * (i - runs) ))
  set +e
  out=$("$closeatmap" -t 30000 -d "$delay" "$program" 2>>"$log")
  code=$?
  set -e
  echo "run $i, close $delay ms after the map: $out" >>"$log"
  [[ $code -eq 0 ]] || fail "run $i, close $delay ms after the map: ${out:-no result} (see $log)"
  times+=("${out%% *}")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (${#times[@]} + 1) / 2 ))p")
echo "e2e $name: closed $runs times at the map and $runs times up to $((10 * runs)) ms after it, exit code 0 each time; close to end median $((median / 1000)) ms"
