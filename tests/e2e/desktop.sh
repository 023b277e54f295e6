#!/usr/bin/env bash
# The main window as a learner handles it on a desktop (E2E_WM=openbox) or on
# a bare X server: a title drag moves the window by the pointer's distance
# and lets go at the release; a grip drag right after it sizes the window; a
# double-click on the title pseudo-maximises to the work area with the frame
# redrawn at the new size while the pointer stays still; a second one
# restores with the frame redrawn at once; the close button ends the program
# with exit code 0. Prints the time from the double-click's release to the
# frame drawn at the new size.
#   desktop.sh PROGRAM NAME OUTDIR PIXELWAIT
set -euo pipefail
program=$1 name=$2 outdir=$3 pixelwait=$4
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
# One pixel of the screen, now.
now_at() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1; }
# Waits until the window has the geometry "X,Y,W,H" (up to 5 s).
await_geometry() {
  for _ in $(seq 100); do geometry; [[ "$X,$Y,$WIDTH,$HEIGHT" == "$1" ]] && return 0; sleep 0.05; done
  return 1
}
frame=#626B48 # the khaki frame colour: the title's line pair ends in it

geometry
x0=$X y0=$Y w0=$WIDTH h0=$HEIGHT
shot "$name-desktop-start"

# Title drag by (40, 30); the first move starts it.
xdotool mousemove --window "$window" 500 12 mousedown 1; sleep 0.2
xdotool mousemove $((x0 + 505)) $((y0 + 14)); sleep 0.2
xdotool mousemove $((x0 + 545)) $((y0 + 44)); sleep 0.2
xdotool mouseup 1; sleep 0.3
await_geometry "$((x0 + 40)),$((y0 + 30)),$w0,$h0" || fail "title drag put the window at $X,$Y ${WIDTH}x$HEIGHT"
# Let go: moves without a button leave it where it is.
xdotool mousemove_relative 120 90; sleep 0.3
xdotool mousemove_relative -- -60 40; sleep 0.3
geometry
[[ "$X,$Y" == "$((x0 + 40)),$((y0 + 30))" ]] || fail "the window followed the pointer after the release, to $X,$Y"
x1=$X y1=$Y
shot "$name-desktop-dragged"

# At once a grip drag: the bottom grip's corner zone, 50 and 40 pixels in.
xdotool mousemove --window "$window" $((w0 - 6)) $((h0 - 3)); sleep 0.2
xdotool mousedown 1; sleep 0.1
xdotool mousemove --window "$window" $((w0 - 30)) $((h0 - 20)); sleep 0.1
xdotool mousemove --window "$window" $((w0 - 56)) $((h0 - 43)); sleep 0.2
xdotool mouseup 1
await_geometry "$x1,$y1,$((w0 - 51)),$((h0 - 38))" || fail "grip drag after a title drag gave $X,$Y ${WIDTH}x$HEIGHT"
w1=$WIDTH h1=$HEIGHT
shot "$name-desktop-sized"
[[ "$(now_at $((x1 + w1 - 3)) $((y1 + 31)))" == "$frame" ]] || fail "the sized frame is not drawn to its right end"

# A double-click on the title, the pointer kept still: the work area, the
# frame drawn to the new right end.
xdotool mousemove --window "$window" 300 12; sleep 0.3
xdotool click --repeat 2 --delay 60 1
ms=$("$pixelwait" 1277 31 "${frame#\#}" 5000) || fail "the frame was not redrawn at the new size with the pointer still ($ms)"
await_geometry "0,0,1280,1024" || fail "the double-click gave $X,$Y ${WIDTH}x$HEIGHT, not the work area"
shot "$name-desktop-maximised"
echo "e2e $name ($wm): frame redrawn at the work area's size $ms ms after the double-click"
# The close button at the new right end: lit under the pointer's next move.
close_glyph=$(now_at $((1280 - 15)) 17)
[[ "$close_glyph" != "$(now_at $((1280 - 60)) 17)" ]] || fail "no close button at the new right end"

# A second double-click on the title restores: the frame drawn at once at
# the old size, the pointer now above the window.
xdotool mousemove 300 12; sleep 0.3
xdotool click --repeat 2 --delay 60 1
await_geometry "$x1,$y1,$w1,$h1" || fail "the second double-click gave $X,$Y ${WIDTH}x$HEIGHT"
sleep 0.3
shot "$name-desktop-restored"
[[ "$(now_at $((x1 + w1 - 3)) $((y1 + 31)))" == "$frame" ]] || fail "the restored frame is not drawn to its right end"
[[ "$(now_at $((x1 + w1 - 15)) $((y1 + 17)))" != "$(now_at $((x1 + w1 - 60)) $((y1 + 17)))" ]] \
  || fail "no close button at the restored right end"

winw=$w1
# A message box opened and closed while the pointer rests on the close
# button: the button is lit again under the still pointer, and a click
# without a move closes the window. The box comes from the go-to box, where
# a third digit makes a number past the last question.
xdotool mousemove --window "$window" 110 111 click 1   # 顺序练习
wait_until holds_still || fail "the question list is not drawn"
xdotool mousemove --window "$window" 860 176 click 1
xdotool key End shift+Home
shot "$run.before-hover"
xdotool mousemove --window "$window" $((winw - 15)) 17
wait_until differs "$run.before-hover" || fail "the close button did not light"
xdotool type --delay 100 999
box_up() { [[ -n "$(others)" ]]; }
wait_until box_up || fail "no message box for question 999"
xdotool windowfocus --sync "$(others | head -1)" 2>/dev/null || true
xdotool key Return
box_gone() { [[ -z "$(others)" ]]; }
wait_until box_gone || fail "the message box did not close"
close_button_lit() { [[ "$(now_at $((x1 + winw - 15)) $((y1 + 17)))" != "$(now_at $((x1 + winw - 60)) $((y1 + 17)))" ]]; }
wait_until close_button_lit || fail "the close button is not drawn under the still pointer"
xdotool click 1
expect_exit_0 "a click on the close button after the message box"
echo "e2e $name ($wm): drag by (40, 30) let go at the release, grip drag to ${w1}x$h1, pseudo-maximised and restored with the frame redrawn, closed by a click on the close button after a message box, exit code 0"
