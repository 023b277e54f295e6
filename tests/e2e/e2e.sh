#!/usr/bin/env bash
# One program under a fresh Xvfb, driven by xdotool: it shows its window, a
# click on the sequential tab brings the question panel up, and closing the
# window ends it with exit code 0. Screenshots go to OUTDIR.
#   e2e.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

shot "$name-start"
# The drawn title bar: khaki, linear from the fill colour at the top to the
# frame colour at the bottom; the line pair on row 31 (frame colour at the
# ends, the darkened frame colour between).
[[ "$(pixel "$name-start" 2 31)" == "#626B48" ]] || fail "title line end is $(pixel "$name-start" 2 31)"
[[ "$(pixel "$name-start" 500 31)" == "#313624" ]] || fail "title line is $(pixel "$name-start" 500 31)"
top=$(pixel "$name-start" 500 1) bottom=$(pixel "$name-start" 500 29)
(( 16#${top:1:2} > 0xE0 && 16#${bottom:1:2} < 0x80 )) || fail "no linear title gradient ($top to $bottom)"
# A point of the background's first mode tag; the question panel covers it.
before=$(pixel "$name-start" 95 237)
[[ "$before" != "#FFFFFF" ]] || fail "the background picture is not shown ($before)"
xdotool mousemove --window "$window" "${tab_sequential[@]}" click 1   # 顺序练习
wait_until pixel_is "$name-question" 95 237 "#FFFFFF" || true
after=$(pixel "$name-question" 95 237)
[[ "$after" == "#FFFFFF" ]] || fail "the question panel did not come up ($after)"
# A drag of the title bar moves the window; its first move starts the drag.
# The move loop then follows the pointer from where it finds it; nothing
# on the screen shows that it has begun, hence the one pause.
xdotool mousemove --window "$window" "${title_grab[@]}" mousedown 1
xdotool mousemove $((winx + title_grab[0] + 5)) $((winy + title_grab[1] + 2)); sleep 0.2
xdotool mousemove $((winx + title_grab[0] + 45)) $((winy + title_grab[1] + 32))
wait_until placed_at "$window" $((winx + 40)) $((winy + 30)) || true
xdotool mouseup 1
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$X" == $((winx + 40)) && "$Y" == $((winy + 30)) ]] || fail "title drag put the window at $X,$Y"
winx=$X winy=$Y
close_and_check_exit
echo "e2e $name: khaki title bar, question panel up, title drag, closed by its close button with exit code 0"
