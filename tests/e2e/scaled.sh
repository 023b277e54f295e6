#!/usr/bin/env bash
# One program on a scaled screen under a fresh Xvfb.
#   scaled.sh PROGRAM NAME OUTDIR 150    at QT_SCALE_FACTOR=1.5 on 1920 x 1080: the
#       frame's lines keep one width each, the tab picture's edge is as sharp
#       as at 100 % (measured against a run at 100 % on the same screen);
#       the header begins right under the title bar, the icon's menu hangs
#       from its lower edge, the grips react on all but the outermost pixel
#       and size the window in place, the pseudo-maximise stays on the
#       screen, and the result dialog of a mock exam shows its caption once;
#   scaled.sh PROGRAM NAME OUTDIR small  at 125 % on 1366 x 768, where the window
#       is taller than the screen: it opens with its title bar on the screen,
#       pseudo-maximises to the screen, and closes by its close button.
set -euo pipefail
program=$1 name=$2 outdir=$3 mode=$4
name="$name-$mode"
if [[ $mode == 150 ]]; then
  # First at 100 %, for the sharpness of the tab's edge there.
  screen=1920x1080
  export QT_SCALE_FACTOR=1
else
  screen=1366x768
  export QT_SCALE_FACTOR=1.25
fi
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# A point X Y of the main window at 100 %, in its device pixels at 150 %:
# the title bar keeps its height, the rows below it scale.
at150() { echo $(($1 * 3 / 2)) $((title_line_row + ($2 - title_line_row) * 3 / 2)); }
rgb() { convert "$outdir/$1-$wm.png" -crop "1x1+$2+$3" -depth 8 txt:- | awk -F'[(),]' 'NR>1 {print $3+0, $4+0, $5+0}'; }
# The largest change of a colour channel between neighbours along a row.
maxstep() {
  convert "$outdir/$1-$wm.png" -crop "${4}x1+$2+$3" -depth 8 txt:- | awk -F'[(),]' '
    NR>1 { r=$3+0; g=$4+0; b=$5+0
           if (NR>2) { d=r-pr; if (d<0) d=-d; e=g-pg; if (e<0) e=-e; f=b-pb; if (f<0) f=-f
                       if (e>d) d=e; if (f>d) d=f; if (d>m) m=d }
           pr=r; pg=g; pb=b }
    END { print m+0 }'
}

if [[ $mode == 150 ]]; then
  shot "$name-at100"
  # The first tab's left edge, along its middle row.
  read -r _ tabrow150 <<<"$(at150 0 "${tab_sequential[1]}")"
  sharp100=$(maxstep "$name-at100" $((winx + 14)) $((winy + tab_sequential[1])) 20)
  (( sharp100 > 60 )) || fail "no tab edge found at 100 % (step $sharp100)"
  close_and_check_exit
  export QT_SCALE_FACTOR=1.5
  start
  (( winx >= 0 && winy >= 0 )) || fail "the window opened at $winx,$winy, its title bar off the screen"
  # The pictures are drawn at the screen's ratio while the window comes up
  # and replace the compiled-in ones when ready.
  sharp_at150() {
    shot "$name-start"
    sharp150=$(maxstep "$name-start" $((winx + 21)) $((winy + tabrow150)) 30)
    (( sharp150 * 100 >= sharp100 * 85 ))
  }
  wait_until sharp_at150 || fail "the tab edge is soft at 150 %: step $sharp150 against $sharp100 at 100 %"
  # The left border at half height: two lines of the frame colour and one
  # dark line, one device pixel each, then something else.
  y=$((winh / 2))
  c0=$(pixel "$name-start" 0 $y) c1=$(pixel "$name-start" 1 $y) c2=$(pixel "$name-start" 2 $y) c3=$(pixel "$name-start" 3 $y)
  [[ $c0 == "$c1" && $c1 != "$c2" && $c2 != "$c3" ]] || fail "left border reads $c0 $c1 $c2 $c3"
  # The bottom border, from the bottom up, the same.
  x=$((winw / 2))
  b0=$(pixel "$name-start" $x $((winh - 1))) b1=$(pixel "$name-start" $x $((winh - 2)))
  b2=$(pixel "$name-start" $x $((winh - 3))) b3=$(pixel "$name-start" $x $((winh - 4)))
  [[ $b0 == "$b1" && $b1 != "$b2" && $b2 != "$b3" && $b0 == "$c0" && $b2 == "$c2" ]] \
    || fail "bottom border reads $b0 $b1 $b2 $b3"
  # The title's dark line: one row, as wide as the dark border line.
  t=$(pixel "$name-start" $x 31)
  [[ $t == "$c2" && $(pixel "$name-start" $x 30) != "$t" && $(pixel "$name-start" $x 32) != "$t" ]] \
    || fail "the title line at row 31 reads $t"
  # The blue header right under the title bar: at 100 % 5 rows below its
  # line, so here within ceil(1.5 x 5) + 1 = 9.
  header=-1
  for y in $(seq 32 60); do
    c=$(pixel "$name-start" $x $y)
    (( 16#${c:5:2} > 16#${c:1:2} + 60 )) && { header=$y; break; }   # blue, not grey
  done
  (( header > 31 && header - 31 <= 9 )) || fail "the header begins on row $header, the title line is on row 31"
  # A short caption is drawn once: the middle third of the title rows holds
  # only the background, whose colour changes by row only.
  title_middle_plain() {
    local img=$1 left=$2 top=$3 width=$4
    convert "$outdir/$img-$wm.png" -crop "$((width / 3))x31+$((left + width / 3))+$top" -depth 8 txt:- \
      | awk -F'[ ]+' 'NR>1 { split($1, p, /[,:]/); c[p[2]] = c[p[2]] == "" ? $3 : c[p[2]]; if (c[p[2]] != $3) bad++ } END { exit bad > 0 }'
  }
  # The icon's menu hangs from the title bar's lower edge (row 31).
  xdotool mousemove --window "$window" "${icon[@]}" click 1
  menu_up() { [[ -n "$(others)" ]]; }
  wait_until menu_up || fail "the icon's menu did not open"
  menu=$(others | head -1)
  eval "$(xdotool getwindowgeometry --shell "$menu")"
  (( Y - winy >= title_line_row && Y - winy <= title_line_row + 1 )) \
    || fail "the icon's menu opens on row $((Y - winy)), the title line is on row $title_line_row"
  menurow=$((Y - winy))
  xdotool key Escape
  menu_gone() { [[ -z "$(others)" ]]; }
  wait_until menu_gone || fail "the icon's menu did not close"
  # The right grip reacts on its strip but for the outermost column: a drag
  # from the outermost column leaves the size alone, one from the next
  # column in sizes the window and leaves it where it is.
  # The press reaches the window after the move onto the grip, the moves
  # and the release after it, in the order sent; the caller waits for the
  # drag's effect.
  drag() { # X Y DX DY, in the window's device pixels
    xdotool mousemove --window "$window" "$1" "$2" mousedown 1
    xdotool mousemove --window "$window" $(($1 + $3 / 2)) $(($2 + $4 / 2))
    xdotool mousemove --window "$window" $(($1 + $3)) $(($2 + $4))
    xdotool mouseup 1
    clicked
  }
  geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; echo "$X,$Y,$WIDTH,$HEIGHT"; }
  # The program has read the input sent so far: the maximise button, which
  # the pointer then moves onto, lights (it reads its input in order).
  caught_up() {
    shot "$run.before-lit"
    xdotool mousemove --window "$window" $((winw - maximise_from_right)) "$close_y"
    wait_until differs "$run.before-lit"
  }
  g0=$(geometry)
  drag $((winw - 1)) $((winh / 2)) -60 0
  caught_up || fail "the maximise button did not light after a drag from the outermost column ($(geometry))"
  [[ $(geometry) == "$g0" ]] || fail "a drag from the outermost column changed the window: $g0 to $(geometry)"
  drag $((winw - 2)) $((winh / 2)) -60 0
  sized_by_right() { eval "$(xdotool getwindowgeometry --shell "$window")"; ((WIDTH < winw - 40)); }
  wait_until sized_by_right || fail "a drag on the right grip did not size the window ($(geometry))"
  [[ "$X,$Y" == "$winx,$winy" ]] || fail "the right grip moved the window from $winx,$winy to $X,$Y"
  w1=$WIDTH h1=$HEIGHT
  # The corner by (-50, -40): the size follows, the position stays.
  drag $((w1 - 3)) $((h1 - 3)) -50 -40
  sized_by_corner() { eval "$(xdotool getwindowgeometry --shell "$window")"; ((WIDTH < w1 - 30 && HEIGHT < h1 - 20)); }
  wait_until sized_by_corner || fail "a corner drag did not size the window ($(geometry))"
  [[ "$X,$Y" == "$winx,$winy" ]] || fail "the corner drag moved the window from $winx,$winy to $X,$Y"
  sized="${WIDTH}x$HEIGHT"
  winw=$WIDTH winh=$HEIGHT
  # The pseudo-maximise covers the screen, and not a device pixel more.
  apart_from_last_click
  xdotool mousemove --window "$window" $((winw - maximise_from_right)) "$close_y" click 1
  clicked
  covers() { eval "$(xdotool getwindowgeometry --shell "$window")"; ((WIDTH >= 1918 && HEIGHT >= 1078)); }
  wait_until covers || fail "the pseudo-maximise reached $(geometry)"
  (( X >= 0 && Y >= 0 && X + WIDTH <= 1920 && Y + HEIGHT <= 1080 )) || fail "the pseudo-maximise runs past the screen: $(geometry)"
  maximised=$(geometry)
  winx=$X winy=$Y winw=$WIDTH winh=$HEIGHT
  # The result dialog of a mock exam handed in at once: its caption once.
  shot "$name-before-exam"
  xdotool mousemove --window "$window" $(at150 "${tab_exam[@]}") click 1   # 模拟考试
  wait_until differs "$name-before-exam" || fail "no exam after a click on 模拟考试"
  xdotool mousemove --window "$window" $(at150 "${hand_in[@]}") click 1   # 交卷
  wait_until window_named '^交卷$' || fail "no confirmation of the hand-in"
  xdotool windowfocus --sync "$found" 2>/dev/null || true
  xdotool key Return
  wait_until window_named '^Torvasen' || fail "no result dialog"
  dialog=$found
  wait_until holds_still || fail "the result dialog is not drawn"
  shot "$name-result"
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  title_middle_plain "$name-result" "$X" "$Y" "$WIDTH" || fail "the result dialog's caption shows in the middle of its title bar"
  dialog_ok() { ! xdotool search --onlyvisible --name '^Torvasen' >/dev/null 2>&1; }
  xdotool key Return
  wait_until dialog_ok || { xdotool mousemove --window "$dialog" $((result_ok[0] * 3 / 2)) $((result_ok[1] * 3 / 2)) click 1; wait_until dialog_ok; } \
    || fail "the result dialog did not close"
  close_and_check_exit
  echo "e2e $name: border and title lines one pixel each, tab edge step $sharp150 at 150 % against $sharp100 at 100 %;" \
    "header on row $header, the icon's menu on row $menurow; the grips sized the window to $sized in place;" \
    "pseudo-maximised to $maximised; the result dialog's caption once; closed with exit code 0"
else
  (( winx >= 0 && winy >= 0 )) || fail "the window opened at $winx,$winy, its title bar off the screen"
  shot "$name-start"
  (( winh > 768 )) || fail "the window ($winh pixels) is not taller than the screen: nothing to show"
  (( winy == 0 )) || fail "the window opened at y = $winy"
  # The maximise button.
  xdotool mousemove --window "$window" $((winw - maximise_from_right)) "$close_y" click 1
  wait_until placed_at "$window" 0 0 1366 768 || true
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [[ "$X,$Y,$WIDTH,$HEIGHT" == "0,0,1366,768" ]] || fail "pseudo-maximised to $X,$Y ${WIDTH}x$HEIGHT"
  winx=$X winy=$Y winw=$WIDTH winh=$HEIGHT
  # The pointer moves on, as a person's does; the frame follows the new
  # size: the title's line pair ends in the frame colour at the new right
  # end.
  xdotool mousemove --window "$window" 600 300
  xdotool mousemove --window "$window" 610 310
  wait_until pixel_is "$name-maximised" $((winw - 3)) "$title_line_row" "#626B48" \
    || fail "the frame is not drawn to the new right end ($(pixel "$name-maximised" $((winw - 3)) "$title_line_row"))"
  close_and_check_exit
  echo "e2e $name: opened at y = 0 with the title bar on the screen, pseudo-maximised to 1366 x 768, closed with exit code 0"
fi
