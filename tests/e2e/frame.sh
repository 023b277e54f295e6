#!/usr/bin/env bash
# The frame on a test window under a fresh Xvfb, driven by xdotool: the
# first move makes the grips, a drag of the bottom grip's corner resizes
# the window 5 pixels beyond the pointer, a drag of the title bar moves it,
# and the close button ends the program with exit code 0.
#   frame.sh PROGRAM OUTDIR
set -euo pipefail
program=$1 name=frame outdir=$2
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
geometry
[[ "$WIDTH" == 400 && "$HEIGHT" == 300 ]] || fail "window is ${WIDTH}x$HEIGHT, not 400x300"
x0=$X y0=$Y

# The first move makes the grips; it shows nothing, and the press below
# reaches the window after it, in the order sent.
xdotool mousemove --window "$window" "${frame_middle[@]}"
shot frame-start
# The bottom grip's corner zone, then a drag to (494, 397) of the window:
# each step sizes the window 5 pixels beyond the pointer.
xdotool mousemove --window "$window" "${frame_grip_corner[@]}" mousedown 1
for step in 420:320 460:360 494:397; do
  xdotool mousemove --window "$window" "${step%:*}" "${step#*:}"
  wait_until placed_at "$window" "$x0" "$y0" $((${step%:*} + 5)) $((${step#*:} + 5)) || break
done
xdotool mouseup 1
geometry
[[ "$WIDTH" == 499 && "$HEIGHT" == 402 ]] || fail "grip drag gave ${WIDTH}x$HEIGHT, not 499x402"
shot frame-resized

# The title bar: a first move starts the drag, the window then follows the
# pointer from where the move loop finds it; nothing on the screen shows
# that the loop has begun, hence the one pause.
xdotool mousemove --window "$window" "${frame_title_grab[@]}" mousedown 1
xdotool mousemove $((x0 + frame_title_grab[0] + 5)) $((y0 + frame_title_grab[1] + 2)); sleep 0.2
xdotool mousemove $((x0 + frame_title_grab[0] + 155)) $((y0 + frame_title_grab[1] + 82))
wait_until placed_at "$window" $((x0 + 150)) $((y0 + 80)) || true
xdotool mouseup 1
geometry
[[ "$X" == $((x0 + 150)) && "$Y" == $((y0 + 80)) ]] || fail "title drag put the window at $X,$Y, not $((x0 + 150)),$((y0 + 80))"
[[ "$WIDTH" == 499 ]] || fail "title drag changed the width to $WIDTH"
shot frame-moved

# The close button.
shot "$run.before-close"
xdotool mousemove --window "$window" $((499 - close_from_right)) "$close_y"
wait_until differs "$run.before-close" || fail "the close button did not light"
xdotool click 1
expect_exit_0 "the close button" 50
echo "e2e frame: grip drag to 499x402, title drag by (150, 80), closed by its button"
