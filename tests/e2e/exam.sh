#!/usr/bin/env bash
# A mock examination on the real window: start it from its tab, answer a few
# questions, hand in with Yes, look at the result dialog and the marked
# sheet, whose cells must wear the legend's colours.
#   exam.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# Cell k of the answer sheet and swatch i of its legend in screenshot
# NAME, just inside their borders.
cell() { pixel "$1" $(( (510 + 550 * ($2 % 25)) / 15 + 4 )) $(( (8160 + 270 * ($2 / 25)) / 15 + 4 )); }
swatch() {
  local lefts=(150 1560 3210 4800 6510)
  pixel "$1" $(( (390 + ${lefts[$2]}) / 15 + 4 )) $(( 9360 / 15 + 4 ))
}
# Question k + 1 is up: its cell wears the current colour.
on_question() { shot "$run.exam"; [[ "$(cell "$run.exam" "$1")" == "$current" ]]; }
# The exam is up: the first cell wears the legend's current colour.
exam_up() {
  shot "$name-exam-q1"
  current=$(swatch "$name-exam-q1" 1)
  [[ "$current" != "#FFFFFF" && "$(cell "$name-exam-q1" 0)" == "$current" ]]
}

xdotool mousemove --window "$window" "${tab_exam[@]}" click 1   # 模拟考试 (its clock then changes the screen every second)
wait_until exam_up || fail "the exam did not start on question 1"
# Five questions answered A, each moving on by itself; a multiple-answer
# question shows its confirm button 我选好了, which completes the answer.
for q in 1 2 3 4 5; do
  shot "$name-exam-q$q"
  confirm=$(pixel "$name-exam-q$q" "${answer_confirm[@]}")
  # Each answer a click of its own: the last one was on the same spot.
  single_click "${answer_a[@]}"
  if [[ "$confirm" != "#FFFFFF" ]]; then single_click "${answer_confirm[@]}"; fi
  wait_until on_question $q || fail "question $((q + 1)) did not come up after question $q"
done
shot "$name-exam-running"
xdotool mousemove --window "$window" "${hand_in[@]}" click 1   # 交卷
wait_until window_named '^交卷$' || fail "no confirmation"
box=$found
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return                   # Yes is the default
wait_until window_named '^Torvasen' || fail "no result dialog"
dialog=$found
wait_until holds_still || fail "the result dialog is not drawn"
shot "$name-exam-result"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The dialog's own title bar follows the visual style: the blue cylinder,
# light about a sixth down, the darkened frame colour on row 31.
[[ "$(at "$name-exam-result" $((X + 150)) $((Y + 31)))" == "#0A304E" ]] \
  || fail "dialog title line is $(at "$name-exam-result" $((X + 150)) $((Y + 31)))"
light=$(at "$name-exam-result" $((X + 150)) $((Y + 5)))
(( 16#${light:1:2} > 0xC0 )) || fail "no cylinder in the dialog's title ($light)"
# Pseudo-maximised by a double-click on its title, it fills the work area
# (the whole screen here); the next show must bring it back as designed.
xdotool mousemove --window "$dialog" "${result_title[@]}" click --repeat 2 --delay 80 1
wait_until placed_at "$dialog" 0 0 1280 1024 || fail "the result dialog did not pseudo-maximise"
xdotool mousemove --window "$dialog" "${result_ok[@]}" click 1   # 确定
dialog_gone() { ! xdotool search --onlyvisible --name '^Torvasen' >/dev/null 2>&1; }
wait_until dialog_gone || fail "the result dialog did not close"
wait_until holds_still || fail "the marked sheet is not drawn"
shot "$name-exam-marked"

current=$(swatch "$name-exam-marked" 1) right=$(swatch "$name-exam-marked" 3)
wrong=$(swatch "$name-exam-marked" 4) none=$(swatch "$name-exam-marked" 0)
[[ "$(cell "$name-exam-marked" 0)" == "$current" ]] \
  || fail "cell 0 is $(cell "$name-exam-marked" 0), not the current colour $current"
for k in 1 2 3 4; do
  c=$(cell "$name-exam-marked" $k)
  [[ "$c" == "$right" || "$c" == "$wrong" ]] || fail "cell $k is $c, neither right $right nor wrong $wrong"
done
for k in 10 50 99; do
  [[ "$(cell "$name-exam-marked" $k)" == "$none" ]] || fail "cell $k is $(cell "$name-exam-marked" $k), not unanswered $none"
done
# A second paper handed in at once: the result dialog comes back at its
# designed size, not as the last one was left.
xdotool mousemove --window "$window" "${tab_exam[@]}" click 1   # 模拟考试
wait_until exam_up || fail "the second exam did not start on question 1"
xdotool mousemove --window "$window" "${hand_in[@]}" click 1   # 交卷
wait_until window_named '^交卷$' || fail "no second confirmation"
box=$found
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_until window_named '^Torvasen' || fail "no second result dialog"
dialog=$found
designed() { eval "$(xdotool getwindowgeometry --shell "$dialog")"; [[ $WIDTH -eq 360 && $HEIGHT -eq 193 ]]; }
wait_until designed || fail "the second result dialog is ${WIDTH}x$HEIGHT, not its designed 360x193"
xdotool mousemove --window "$dialog" "${result_ok[@]}" click 1   # 确定
wait_until dialog_gone || fail "the second result dialog did not close"
close_and_check_exit
echo "e2e $name: exam sat, handed in, marked sheet in the legend's colours; the result dialog pseudo-maximised, then back as designed at the next hand-in; closed with exit code 0"
