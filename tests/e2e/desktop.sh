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
# The window has the geometry X Y W H; otherwise X Y WIDTH HEIGHT tell
# where it is.
at_geometry() { placed_at "$window" "$@" || { geometry; false; }; }
# The close button's middle and the title bar's bare ground on its row, on
# the screen, for a window at X Y of width W.
close_at() { now_at $(($1 + $3 - close_from_right)) $(($2 + close_y)); }
clear_at() { now_at $(($1 + $3 - caption_clear_from_right)) $(($2 + close_y)); }
# The close button's square (18 pixels), for a window at X Y of width W.
close_square() { import -window root -crop "18x18+$(($1 + $3 - close_from_right - 9))+$(($2 + close_y - 9))" +repage rgb:-; }
frame=#626B48 # the khaki frame colour: the title's line pair ends in it

geometry
x0=$X y0=$Y w0=$WIDTH h0=$HEIGHT
shot "$name-desktop-start"

# Title drag by (40, 30); the first move starts it, and the window then
# follows the pointer from where the move loop (the program's, or the window
# manager's) finds it. Nothing on the screen shows that the loop has begun,
# hence the one pause; the release waits until the window is seen at the
# drag's end.
gx=$((x0 + title_grab[0])) gy=$((y0 + title_grab[1]))
close_square "$x0" "$y0" "$w0" >"$outdir/$run.close0.rgb"
xdotool mousemove --window "$window" "${title_grab[@]}" mousedown 1
xdotool mousemove $((gx + 5)) $((gy + 2)); sleep 0.2
xdotool mousemove $((gx + 45)) $((gy + 32))
wait_until at_geometry $((x0 + 40)) $((y0 + 30)) "$w0" "$h0" || true
xdotool mouseup 1
wait_until at_geometry $((x0 + 40)) $((y0 + 30)) "$w0" "$h0" || fail "title drag put the window at $X,$Y ${WIDTH}x$HEIGHT"
x1=$((x0 + 40)) y1=$((y0 + 30))
# Let go: moves without a button leave it where it is. The pointer then
# goes onto the close button where the release left it; the button lights
# once the program has the pointer's moves (a move left running would hold
# the pointer and take the window along instead).
xdotool mousemove_relative 120 90
xdotool mousemove_relative -- -60 40
xdotool mousemove $((x1 + w0 - close_from_right)) $((y1 + close_y))
lit_or_moved() { geometry; [[ "$X,$Y" != "$x1,$y1" ]] || ! cmp -s "$outdir/$run.close0.rgb" <(close_square "$x1" "$y1" "$w0"); }
wait_until lit_or_moved || fail "the close button did not light after the release"
[[ "$X,$Y" == "$((x0 + 40)),$((y0 + 30))" ]] || fail "the window followed the pointer after the release, to $X,$Y"
shot "$name-desktop-dragged"

# At once a grip drag: the bottom grip's corner zone, 50 and 40 pixels in;
# the release once the window has the size. The press reaches the window
# after the move onto the grip, in the order sent.
cx=$((w0 - grip_corner_from_right)) cy=$((h0 - grip_corner_from_bottom))
xdotool mousemove --window "$window" "$cx" "$cy" mousedown 1
xdotool mousemove --window "$window" $((cx - 24)) $((cy - 17))
xdotool mousemove --window "$window" $((cx - 50)) $((cy - 40))
wait_until at_geometry "$x1" "$y1" $((w0 - 51)) $((h0 - 38)) || true
xdotool mouseup 1
clicked
wait_until at_geometry "$x1" "$y1" $((w0 - 51)) $((h0 - 38)) || fail "grip drag after a title drag gave $X,$Y ${WIDTH}x$HEIGHT"
w1=$((w0 - 51)) h1=$((h0 - 38))
shot "$name-desktop-sized"
[[ "$(now_at $((x1 + w1 - 3)) $((y1 + title_line_row)))" == "$frame" ]] || fail "the sized frame is not drawn to its right end"

# A double-click on the title, the pointer kept still: the work area, the
# frame drawn to the new right end.
# Both its clicks apart from the grip's release by the double-click time.
apart_from_last_click
xdotool mousemove --window "$window" "${title_bar[@]}" click --repeat 2 --delay 60 1
ms=$("$pixelwait" 1277 "$title_line_row" "${frame#\#}" 5000) || fail "the frame was not redrawn at the new size with the pointer still ($ms)"
clicked
wait_until at_geometry 0 0 1280 1024 || fail "the double-click gave $X,$Y ${WIDTH}x$HEIGHT, not the work area"
shot "$name-desktop-maximised"
echo "e2e $name ($wm): frame redrawn at the work area's size $ms ms after the double-click"
# The close button at the new right end: lit under the pointer's next move.
[[ "$(close_at 0 0 1280)" != "$(clear_at 0 0 1280)" ]] || fail "no close button at the new right end"

# A second double-click on the title restores: the frame drawn at once at
# the old size (within 0.3 s of the restored geometry), the pointer now
# above the window. The maximised window lies at 0 0: its title bar's
# points are the screen's.
apart_from_last_click
xdotool mousemove "${title_bar[@]}" click --repeat 2 --delay 60 1
clicked
wait_until at_geometry "$x1" "$y1" "$w1" "$h1" || fail "the second double-click gave $X,$Y ${WIDTH}x$HEIGHT"
"$pixelwait" $((x1 + w1 - 3)) $((y1 + title_line_row)) "${frame#\#}" 300 >/dev/null \
  || fail "the restored frame is not drawn to its right end"
shot "$name-desktop-restored"
[[ "$(now_at $((x1 + w1 - 3)) $((y1 + title_line_row)))" == "$frame" ]] || fail "the restored frame is not drawn to its right end"
[[ "$(close_at "$x1" "$y1" "$w1")" != "$(clear_at "$x1" "$y1" "$w1")" ]] \
  || fail "no close button at the restored right end"

winw=$w1
# A message box opened and closed while the pointer rests on the close
# button: the button is lit again under the still pointer, and a click
# without a move closes the window. The box comes from the go-to box, where
# a third digit makes a number past the last question.
shot "$run.before-list"
xdotool mousemove --window "$window" "${tab_sequential[@]}" click 1   # 顺序练习
settles_from "$run.before-list" || fail "the question list is not drawn"
xdotool mousemove --window "$window" "${goto_box[@]}" click 1
xdotool key End shift+Home
shot "$run.before-hover"
xdotool mousemove --window "$window" $((winw - close_from_right)) "$close_y"
wait_until differs "$run.before-hover" || fail "the close button did not light"
xdotool type --delay 100 999
box_up() { [[ -n "$(others)" ]]; }
wait_until box_up || fail "no message box for question 999"
xdotool windowfocus --sync "$(others | head -1)" 2>/dev/null || true
xdotool key Return
box_gone() { [[ -z "$(others)" ]]; }
wait_until box_gone || fail "the message box did not close"
close_button_lit() { [[ "$(close_at "$x1" "$y1" "$winw")" != "$(clear_at "$x1" "$y1" "$winw")" ]]; }
wait_until close_button_lit || fail "the close button is not drawn under the still pointer"
xdotool click 1
expect_exit_0 "a click on the close button after the message box"
echo "e2e $name ($wm): drag by (40, 30) let go at the release, grip drag to ${w1}x$h1, pseudo-maximised and restored with the frame redrawn, closed by a click on the close button after a message box, exit code 0"
