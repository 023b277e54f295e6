#!/usr/bin/env bash
# A mock examination on the real window: start it from its tab, answer a few
# questions, hand in with Yes, look at the result dialog and the marked
# sheet, whose cells must wear the legend's colours.
#   exam.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

click 877 111 1                      # 模拟考试
# Five questions answered A, each moving on by itself; a multiple-answer
# question shows its confirm button 我选好了, which completes the answer.
for q in 1 2 3 4 5; do
  shot "$name-exam-q$q"
  confirm=$(pixel "$name-exam-q$q" 827 485)
  click 601 484
  if [[ "$confirm" != "#FFFFFF" ]]; then click 827 485; fi
done
shot "$name-exam-running"
click 776 519 1                      # 交卷
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^交卷$' | head -1) || fail "no confirmation"
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return                   # Yes is the default
sleep 1
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Torvasen' | head -1) || fail "no result dialog"
shot "$name-exam-result"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The dialog's own title bar follows the visual style: the blue cylinder,
# light about a sixth down, the darkened frame colour on row 31.
[[ "$(at "$name-exam-result" $((X + 150)) $((Y + 31)))" == "#0A304E" ]] \
  || fail "dialog title line is $(at "$name-exam-result" $((X + 150)) $((Y + 31)))"
light=$(at "$name-exam-result" $((X + 150)) $((Y + 5)))
(( 16#${light:1:2} > 0xC0 )) || fail "no cylinder in the dialog's title ($light)"
xdotool mousemove --window "$dialog" 174 160 click 1   # 确定
sleep 1
xdotool search --onlyvisible --name '^Torvasen' >/dev/null 2>&1 && fail "the result dialog did not close"
shot "$name-exam-marked"

# Cell k of the sheet and swatch i of the legend, just inside their borders.
cell() { pixel "$name-exam-marked" $(( (510 + 550 * ($1 % 25)) / 15 + 4 )) $(( (8160 + 270 * ($1 / 25)) / 15 + 4 )); }
swatch() {
  local lefts=(150 1560 3210 4800 6510)
  pixel "$name-exam-marked" $(( (390 + ${lefts[$1]}) / 15 + 4 )) $(( 9360 / 15 + 4 ))
}
current=$(swatch 1) right=$(swatch 3) wrong=$(swatch 4) none=$(swatch 0)
[[ "$(cell 0)" == "$current" ]] || fail "cell 0 is $(cell 0), not the current colour $current"
for k in 1 2 3 4; do
  c=$(cell $k)
  [[ "$c" == "$right" || "$c" == "$wrong" ]] || fail "cell $k is $c, neither right $right nor wrong $wrong"
done
for k in 10 50 99; do
  [[ "$(cell $k)" == "$none" ]] || fail "cell $k is $(cell $k), not unanswered $none"
done
close_and_check_exit
echo "e2e $name: exam sat, handed in, marked sheet in the legend's colours, closed with exit code 0"
