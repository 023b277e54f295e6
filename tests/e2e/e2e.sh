#!/usr/bin/env bash
# One program under a fresh Xvfb, driven by xdotool: it shows its window, a
# click on the sequential tab brings the question panel up, and closing the
# window ends it with exit code 0. Screenshots go to OUTDIR.
#   e2e.sh PROGRAM NAME OUTDIR WMCLOSE
set -euo pipefail
program=$1 name=$2 outdir=$3 wmclose=$4
mkdir -p "$outdir"
fail() { echo "e2e $name: $*" >&2; exit 1; }

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
pid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
[[ -s "$displayfile" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$displayfile")"

"$program" >"$outdir/$name.log" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1) || fail "no window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root "$outdir/$name-start.png"

# The point of the background's first mode tag, in the window; the question
# panel covers it once it is up.
px=$((X + 95)) py=$((Y + 237))
pixel() { convert "$1" -crop "1x1+$px+$py" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
before=$(pixel "$outdir/$name-start.png")
[[ "$before" != "#FFFFFF" ]] || fail "the background picture is not shown ($before)"

xdotool mousemove --window "$window" 110 111 click 1
sleep 1
import -window root "$outdir/$name-question.png"
after=$(pixel "$outdir/$name-question.png")
[[ "$after" == "#FFFFFF" ]] || fail "the question panel did not come up ($after)"

"$wmclose" "$window"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after the window was closed"
set +e
wait "$pid"
code=$?
set -e
pid=
[[ $code -eq 0 ]] || fail "exit code $code"
echo "e2e $name: window shown, question panel up, closed with exit code 0"
