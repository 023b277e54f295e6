# The ground of every end-to-end script: a folder of its own and a fresh
# Xvfb. Each script runs on a copy of its program's folder: the program
# writes answers into its bank, and the shipped build/<name>/ must stay as
# built while other tests run beside this one. Source it after setting
# program, outdir, run and fail(); it sets folder, program and DISPLAY. On
# exit it ends the program ($pid), the helpers started meanwhile (add their
# ids to helpers) and the X server, and removes the folder and the scratch
# paths listed in scratch; a script that passed fails when the program's
# log, $outdir/$run.log, has a "Run-time error" line.
mkdir -p "$outdir"
folder=$(mktemp -d "$outdir/$run.XXXXXX")
cp -a "$(dirname "$program")/." "$folder/"
program="$folder/$(basename "$program")"

displayfile=$(mktemp)
# -noreset: by default the server starts over each time its last client
# leaves, and a client connecting meanwhile (the next run of a script that
# starts its program again and again) can be turned away.
Xvfb -displayfd 3 -screen 0 "${screen:-1280x1024}x24" -nolisten tcp -noreset 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
pid=
helpers=()
scratch=()
cleanup() {
  local status=$?
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  local helper
  for helper in "${helpers[@]}"; do kill "$helper" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$displayfile" "$folder" "${scratch[@]}"
  # A failure that escaped the program's handlers is a fault even where the
  # program went on: a script that passed fails on such a line in its log.
  if ((status == 0)) && grep -q "Run-time error" "$outdir/$run.log" 2>/dev/null; then
    echo "e2e $run: the program's log has a run-time error:" >&2
    grep "Run-time error" "$outdir/$run.log" | head -5 >&2
    exit 1
  fi
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
[[ -s "$displayfile" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$displayfile")"

# The program ends by itself with exit code 0 within ten seconds (or the
# tenths given second); the first argument names the step that was to end it.
expect_exit_0() {
  for _ in $(seq "${2:-100}"); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running after $1"
  set +e
  wait "$pid"
  local code=$?
  set -e
  pid=
  [[ $code -eq 0 ]] || fail "exit code $code"
}
