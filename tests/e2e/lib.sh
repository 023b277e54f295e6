# Shared by the end-to-end scripts: a fresh Xvfb, a window manager on it when
# E2E_WM=openbox (learners' desktops have one; without it the display is a
# bare X server), the program started on it from a copy of its folder,
# pixels and screenshots. Source it after setting program, name and outdir.
fail() { echo "e2e $name: $*" >&2; exit 1; }

wm=${E2E_WM:-bare}
run="$(basename "$0" .sh)-$name-$wm"
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
source "$(dirname "${BASH_SOURCE[0]}")/positions.sh"

if [[ "$wm" == openbox ]]; then
  # Up once it has claimed the screen as its window manager (on a loaded
  # machine that can take seconds). On a busy machine it has been seen to
  # give up at once on a display that had only just come up: it is then
  # started again, three times at most, within 20 seconds in all.
  wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -F 'window id' >/dev/null; }
  : >"$outdir/$run.openbox.log"
  deadline=$((SECONDS + 20))
  for attempt in 1 2 3; do
    openbox --sm-disable >>"$outdir/$run.openbox.log" 2>&1 &
    wmpid=$!
    helpers+=("$wmpid")
    until wm_up || ! kill -0 "$wmpid" 2>/dev/null || ((SECONDS >= deadline)); do sleep 0.05; done
    wm_up && break
    ((SECONDS < deadline)) || break
    sleep 0.5
  done
  wm_up || fail "openbox did not start (attempt $attempt, see $outdir/$run.openbox.log)"
fi

# Every step waits for what it brings about, never a fixed time: the
# condition (a command) is tried every 50 ms, for at most 40 seconds (on a
# loaded machine a step can take long; a step that goes well costs no more).
wait_until() {
  local deadline=$((SECONDS + 40))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}
# The window at X Y, or at X Y with size W H.
placed_at() {
  local g
  g=$(xdotool getwindowgeometry --shell "$1" | tr '\n' ' ')
  [[ "$g" == *"X=$2 Y=$3 "* && ( $# -lt 5 || "$g" == *"WIDTH=$4 HEIGHT=$5 "* ) ]]
}

shot() { import -window root "$outdir/$1-$wm.png"; }
# The colour at a point of the screen, and of the main window, from a
# screenshot.
at() { convert "$outdir/$1-$wm.png" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
pixel() { at "$1" $((winx + $2)) $((winy + $3)); }
# A fresh screenshot NAME whose pixel X Y of the main window is (or with
# "!=", is not) COLOUR.
pixel_is() { shot "$1"; [[ "$(pixel "$1" "$2" "$3")" == "$4" ]]; }
pixel_is_not() { shot "$1"; [[ "$(pixel "$1" "$2" "$3")" != "$4" ]]; }
# The screen has changed from screenshot NAME and then holds still: two
# screenshots in a row alike.
differs() { ! cmp -s <(convert "$outdir/$1-$wm.png" rgb:-) <(import -window root rgb:-); }
holds_still() {
  cmp -s <(import -window root rgb:-) <(sleep 0.1; import -window root rgb:-)
}
# The wait after an input whose effect shows: the screen changes from
# screenshot NAME (taken before the input), then holds still. Holding still
# alone would pass before the program has reacted.
settles_from() { wait_until differs "$1" && wait_until holds_still; }
# A click at X Y of the main window; the caller then waits for its effect.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
# A click that the program cannot take for the second half of a
# double-click: apart_from_last_click waits until the platform's
# double-click time (Qt's 400 ms) has passed since the last click noted by
# clicked (a timing the program applies, with nothing on the screen to
# await). single_click is such a click at X Y of the main window.
last_click_ns=0
clicked() { last_click_ns=$(date +%s%N); }
apart_from_last_click() {
  local now wait_ns
  now=$(date +%s%N)
  wait_ns=$((last_click_ns + 500000000 - now))
  if ((wait_ns > 0)); then sleep "$(printf '0.%09d' "$wait_ns")"; fi
}
single_click() {
  apart_from_last_click
  xdotool mousemove --window "$window" "$1" "$2" click 1
  clicked
}
# A visible window named as REGEX is there; its id in found. A search walks
# the window tree and fails when a window goes away under it (a message box
# closing), so one that fails is only tried again.
window_named() {
  found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
  [[ -n "$found" ]]
}
# The windows of the program other than the main one (message boxes, dialogs).
others() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" || true; }

# Starts the program (again, once the last one has ended), finds its window
# and waits until it is shown: the drawn title bar is on the screen (Xvfb's
# root is black) and holds still.
start() {
  "$program" >>"$outdir/$run.log" 2>&1 &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1) || fail "no window"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  winx=$X winy=$Y winw=$WIDTH winh=$HEIGHT
  wait_until pixel_is_not "$run.shown" $((winw / 2)) 2 "#000000" && wait_until holds_still || fail "the window is not drawn"
  # A window manager may have placed it meanwhile.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  winx=$X winy=$Y winw=$WIDTH winh=$HEIGHT
}
: >"$outdir/$run.log"
start

# The frame's close button (positions.sh): a move over it lights it, a click
# closes the window.
close_and_check_exit() {
  shot "$run.before-close"
  xdotool mousemove --window "$window" $((winw - close_from_right)) "$close_y"
  wait_until differs "$run.before-close" || fail "the close button did not light"
  xdotool click 1
  expect_exit_0 "the window was closed"
}
