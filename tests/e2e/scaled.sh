#!/usr/bin/env bash
# One program on a scaled screen under a fresh Xvfb.
#   scaled.sh PROGRAM NAME OUTDIR 150    at QT_SCALE_FACTOR=1.5 on 1920 x 1080: the
#       frame's lines keep one width each, the tab picture's edge is as sharp
#       as at 100 % (measured against a run at 100 % on the same screen);
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
  # The first tab's left edge, along its middle row (111 pixels down).
  sharp100=$(maxstep "$name-at100" $((winx + 14)) $((winy + 111)) 20)
  (( sharp100 > 60 )) || fail "no tab edge found at 100 % (step $sharp100)"
  close_and_check_exit
  export QT_SCALE_FACTOR=1.5
  start
  (( winx >= 0 && winy >= 0 )) || fail "the window opened at $winx,$winy, its title bar off the screen"
  # The pictures are drawn at the screen's ratio while the window comes up
  # and replace the compiled-in ones when ready.
  for _ in $(seq 40); do
    shot "$name-start"
    sharp150=$(maxstep "$name-start" $((winx + 21)) $((winy + 166)) 30)
    (( sharp150 * 100 >= sharp100 * 85 )) && break
    sleep 0.25
  done
  (( sharp150 * 100 >= sharp100 * 85 )) || fail "the tab edge is soft at 150 %: step $sharp150 against $sharp100 at 100 %"
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
  close_and_check_exit
  echo "e2e $name: border and title lines one pixel each, tab edge step $sharp150 at 150 % against $sharp100 at 100 %, closed with exit code 0"
else
  (( winx >= 0 && winy >= 0 )) || fail "the window opened at $winx,$winy, its title bar off the screen"
  shot "$name-start"
  (( winh > 768 )) || fail "the window ($winh pixels) is not taller than the screen: nothing to show"
  (( winy == 0 )) || fail "the window opened at y = $winy"
  # The maximise button: 45 pixels from the right edge, 8 from the top.
  xdotool mousemove --window "$window" $((winw - 36)) 17; sleep 0.3
  xdotool click 1
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [[ "$X,$Y,$WIDTH,$HEIGHT" == "0,0,1366,768" ]] && break
    sleep 0.1
  done
  [[ "$X,$Y,$WIDTH,$HEIGHT" == "0,0,1366,768" ]] || fail "pseudo-maximised to $X,$Y ${WIDTH}x$HEIGHT"
  winx=$X winy=$Y winw=$WIDTH winh=$HEIGHT
  # The pointer moves on, as a person's does; the frame follows the new size.
  xdotool mousemove --window "$window" 600 300; sleep 0.3
  xdotool mousemove --window "$window" 610 310; sleep 0.3
  shot "$name-maximised"
  close_and_check_exit
  echo "e2e $name: opened at y = 0 with the title bar on the screen, pseudo-maximised to 1366 x 768, closed with exit code 0"
fi
