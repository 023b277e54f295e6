#!/usr/bin/env bash
# The frame's system menu on the real main window under a fresh Xvfb: a
# right click on the title bar opens it; 最大化 pseudo-maximises the window
# over the screen's work area (all of it: Xvfb has no panels); 还原 brings
# it back; 关闭 ends the program with exit code 0. The menu is worked with
# the keyboard, as its items' places depend on the font.
#   menu.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
# Opens the menu with a right click on the bare title bar, then walks down
# past N enabled items to the one wanted and chooses it.
# The next step waits for what the item does (a geometry, the exit).
menu_shown() { [[ -n "$(others)" ]]; }
menu_gone() { [[ -z "$(others)" ]]; }
choose() {
  xdotool mousemove --window "$window" "${title_bar[@]}" click 3
  wait_until menu_shown && wait_until holds_still || fail "no menu after a right click on the title bar"
  shot "$name-menu-$2"
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
  wait_until menu_gone || fail "the menu stays after Return"
}

geometry
x0=$X y0=$Y w0=$WIDTH h0=$HEIGHT
choose 2 maximise                  # 还原 is disabled: 最小化, 最大化
wait_until placed_at "$window" 0 0 1280 1024 || true
geometry
[[ "$X,$Y,$WIDTH,$HEIGHT" == "0,0,1280,1024" ]] || fail "最大化 gave $X,$Y ${WIDTH}x$HEIGHT, not the work area"
shot "$name-menu-maximised"
choose 1 restore                   # 还原, now the first enabled item
wait_until placed_at "$window" "$x0" "$y0" "$w0" "$h0" || true
geometry
[[ "$X,$Y,$WIDTH,$HEIGHT" == "$x0,$y0,$w0,$h0" ]] || fail "还原 gave $X,$Y ${WIDTH}x$HEIGHT, not $x0,$y0 ${w0}x$h0"
choose 3 close                     # 最小化, 最大化, 关闭
expect_exit_0 "关闭"
echo "e2e $name: system menu maximised, restored and closed the window, exit code 0"
