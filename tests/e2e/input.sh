#!/usr/bin/env bash
# The learner's keys and double-clicks on the real window under a window
# manager (openbox), where windows are activated and take the focus as on a
# desktop: a double-click on A answers one question and moves one step; a
# number typed over the selected go-to box shows that question; Return and
# Space close the result dialog.
#   input.sh PROGRAM NAME OUTDIR BANK_STATES
set -euo pipefail
program=$1 name=$2 outdir=$3 bankstates=$4
E2E_WM=openbox
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# The question panel without the go-to box (its cursor blinks) and without
# the buttons the pointer rests on.
question() { convert "$outdir/$1-$wm.png" -crop 660x250+$((winx + 20))+$((winy + 190)) +repage "$outdir/$1-question.png"; }
same() { compare -metric AE "$outdir/$1-question.png" "$outdir/$2-question.png" null: 2>/dev/null; }
# A fresh screenshot NAME whose question panel is (or, with "not", is not)
# the one of screenshot OTHER.
shows() { shot "$1"; question "$1"; same "$1" "$2"; }
shows_not() { shot "$1"; question "$1"; ! same "$1" "$2"; }
# The box's number selected: End, Shift+Home. The click and the keys reach
# the window in the order sent, so the keys find the box focused.
select_box() {
  click "${goto_box[@]}"
  xdotool key End shift+Home
}

shot "$name-input-start"
click "${tab_sequential[@]}"              # 顺序练习: question 1
settles_from "$name-input-start" || fail "no question list after a click on 顺序练习"
shot "$name-input-q1"
# A is question 1's right answer: the first click answers it and moves on,
# the second press is the double-click and answers nothing.
xdotool mousemove --window "$window" "${answer_a[@]}" click --repeat 2 --delay 60 1
settles_from "$name-input-q1" || fail "the window does not settle after the double-click"
shot "$name-input-dblclick"
states=$("$bankstates" "$name" "$folder") || fail "cannot read the bank"
first=$(sed -n 1p <<<"$states") second=$(sed -n 2p <<<"$states")
[[ "$first" =~ ^[0-9]+\ A$ ]] || fail "question 1 holds '$first' after the double-click, not A"
[[ "$second" =~ ^[0-9]+\ $ ]] || fail "question 2 holds '$second' after a double-click on question 1"
question "$name-input-dblclick"

# 12 typed over the box's selected number, Enter.
select_box
xdotool type --delay 100 12
xdotool key Return
jumped() { [[ -n "$(others)" ]] || shows_not "$name-input-goto12" "$name-input-dblclick"; }
wait_until jumped && wait_until holds_still || fail "the typed number changed nothing"
[[ -z "$(others)" ]] || { shot "$name-input-goto-fail"; fail "a message box came up: the box did not take 12"; }
shot "$name-input-goto12"
question "$name-input-goto12"
# The same question reached another way: back to 1 through the box, then
# eleven steps of 下一题, each click apart from the last by more than a
# double-click's time.
select_box
xdotool type 1
wait_until shows_not "$name-input-back" "$name-input-goto12" || fail "typing 1 did not go back from question 12"
for _ in $(seq 11); do single_click "${next_question[@]}"; done
wait_until shows "$name-input-next12" "$name-input-goto12" || fail "the go-to box did not show question 12"

# The result dialog, closed by a key at each of two exams.
dialog_gone() { ! xdotool search --onlyvisible --name '^Torvasen' >/dev/null 2>&1; }
for key in Return space; do
  shot "$name-input-before-exam-$key"
  click "${tab_exam[@]}"                  # 模拟考试
  wait_until differs "$name-input-before-exam-$key" || fail "no exam after a click on 模拟考试"
  click "${hand_in[@]}"                   # 交卷
  wait_until window_named '^交卷$' || fail "no confirmation"
  xdotool windowfocus --sync "$found" 2>/dev/null || true
  xdotool key Return                 # Yes is the default
  wait_until window_named '^Torvasen' || fail "no result dialog"
  wait_until holds_still || fail "the result dialog is not drawn"
  shot "$name-input-result-$key"
  xdotool key "$key"
  wait_until dialog_gone || fail "$key left the result dialog open"
done
close_and_check_exit
echo "e2e $name: one answer for a double-click, question 12 typed into the go-to box, the result dialog closed by Return and Space"
