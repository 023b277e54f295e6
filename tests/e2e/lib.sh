# Shared by the end-to-end scripts: a fresh Xvfb, the program started on it,
# pixels and screenshots. Source it after setting program, name and outdir.
fail() { echo "e2e $name: $*" >&2; exit 1; }

# The program runs from a copy of its folder: answering writes into the
# bank, and build/<name>/ stays as built.
copy=$(mktemp -d)
cp -r "$(dirname "$program")" "$copy/folder"
program="$copy/folder/$(basename "$program")"

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
pid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfile"
  rm -rf "$copy"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
[[ -s "$displayfile" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$displayfile")"

mkdir -p "$outdir"
"$program" >"$outdir/$name.log" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1) || fail "no window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
winx=$X winy=$Y

shot() { import -window root "$outdir/$1.png"; }
# The colour at a point of the main window, from a screenshot.
pixel() { convert "$outdir/$1.png" -crop "1x1+$((winx + $2))+$((winy + $3))" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.3}"; }
# The windows of the program other than the main one (message boxes, dialogs).
others() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" || true; }

close_and_check_exit() {
  "$wmclose" "$window"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running after the window was closed"
  set +e
  wait "$pid"
  local code=$?
  set -e
  pid=
  [[ $code -eq 0 ]] || fail "exit code $code"
}
