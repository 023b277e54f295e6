# Shared by the end-to-end scripts: a fresh Xvfb, a window manager on it when
# E2E_WM=openbox (learners' desktops have one; without it the display is a
# bare X server), the program started on it from a copy of its folder,
# pixels and screenshots. Source it after setting program, name and outdir.
fail() { echo "e2e $name: $*" >&2; exit 1; }

# Each script runs on a folder of its own: the program writes answers into
# its bank, and the shipped build/<name>/ must stay as built while other
# tests run beside this one.
wm=${E2E_WM:-bare}
run="$(basename "$0" .sh)-$name-$wm"
mkdir -p "$outdir"
folder=$(mktemp -d "$outdir/$run.XXXXXX")
cp -a "$(dirname "$program")/." "$folder/"
program="$folder/$(basename "$program")"

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${screen:-1280x1024}x24" -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
pid= wmpid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  [[ -n "$wmpid" ]] && kill "$wmpid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$displayfile"
  rm -rf "$folder"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
[[ -s "$displayfile" ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$displayfile")"

if [[ "$wm" == openbox ]]; then
  openbox --sm-disable >"$outdir/$run.openbox.log" 2>&1 &
  wmpid=$!
  # Up once it has claimed the screen as its window manager.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || fail "openbox did not start"
fi

# Starts the program (again, once the last one has ended) and finds its window.
start() {
  "$program" >>"$outdir/$run.log" 2>&1 &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1) || fail "no window"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  winx=$X winy=$Y winw=$WIDTH winh=$HEIGHT
}
: >"$outdir/$run.log"
start

shot() { import -window root "$outdir/$1-$wm.png"; }
# The colour at a point of the screen, and of the main window, from a
# screenshot.
at() { convert "$outdir/$1-$wm.png" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
pixel() { at "$1" $((winx + $2)) $((winy + $3)); }
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.3}"; }
# The windows of the program other than the main one (message boxes, dialogs).
others() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" || true; }

# The frame's close button lies 24 pixels from the right edge, 8 from the
# top, 18 square: a move over it lights it, a click closes the window.
close_and_check_exit() {
  xdotool mousemove --window "$window" $((winw - 15)) 17; sleep 0.3
  xdotool click 1
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running after the window was closed"
  set +e
  wait "$pid"
  local code=$?
  set -e
  pid=
  [[ $code -eq 0 ]] || fail "exit code $code"
}
