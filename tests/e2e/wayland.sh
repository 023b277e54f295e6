#!/usr/bin/env bash
# One program on a Wayland session without an X server for it: weston (its
# X11 back end, on a private Xvfb that only weston talks to, so that xdotool
# can give weston a pointer) on a socket of its own, the program started as a
# person starts it, with WAYLAND_DISPLAY set and no DISPLAY. It opens; it
# pseudo-maximises to the output (below weston's panel) and comes back to its
# size three times: by its caption button, by a double-click on its title and
# by the system menu's 还原; it drags by its title and stays where the
# release left it; it sits a mock exam to the result dialog and back while
# maximised; it sizes by its corner grip; and it closes by its close button
# with exit code 0. The program never ends on its own meanwhile.
#   wayland.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
run="wayland-$name"
fail() { echo "e2e $run: $*" >&2; exit 1; }
command -v weston >/dev/null || fail "weston is not installed (scripts/setup.sh installs it)"
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
source "$(dirname "${BASH_SOURCE[0]}")/positions.sh"
runtime=$(mktemp -d)
chmod 700 "$runtime"
scratch+=("$runtime")
socket="wayland-e2e-$$"
# weston's output, smaller than the X screen (1280x1024): the pointer can
# leave it, and weston takes the pointer only from the moment it enters.
W=1200 H=900
XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --use-pixman --socket="$socket" \
  --width=$W --height=$H --idle-time=0 >"$outdir/$run.weston.log" 2>&1 &
helpers+=($!)
for _ in $(seq 100); do [[ -S "$runtime/$socket" ]] && break; sleep 0.1; done
[[ -S "$runtime/$socket" ]] || fail "weston did not open its socket"

# Every wait is bounded by one deadline for the whole script, well inside
# the test's time-out, and ends as soon as what it waits for is there.
deadline=$((SECONDS + 110))
alive() { [[ -z "$pid" ]] || kill -0 "$pid" 2>/dev/null || fail "the program ended $1 (see $outdir/$run.log)"; }
await() { # await WHAT COMMAND...: until COMMAND succeeds
  local what=$1 from=$SECONDS
  shift
  until "$@"; do
    alive "while waiting for $what"
    ((SECONDS < deadline)) || fail "no $what (the window last seen at ${left:-?},${top:-?} ${width:-?}x${height:-?})"
    sleep 0.2
  done
  # A long wait is worth knowing when the machine is loaded.
  ((SECONDS - from < 5)) || echo "e2e $run: $what took $((SECONDS - from)) s" >&2
}

# Screenshots of weston's output only; pixels found in a row or a column
# of them, never by converting the whole picture (slow on a loaded machine).
shot() { import -window root -crop "${W}x${H}+0+0" +repage "$outdir/$run-$1.png"; }
# The rows of column X of screenshot NAME in COLOUR, in order.
rows_in() { convert "$outdir/$run-$1.png" -crop "1x${H}+$2+0" +repage -depth 8 txt:- | grep -F "$3" | sed 's/^0,\([0-9]*\):.*/\1/'; }
# The first and last column of row Y of screenshot NAME in COLOUR, and
# their number: "x0 x1 n".
cols_in() {
  convert "$outdir/$run-$1.png" -crop "${W}x1+0+$2" +repage -depth 8 txt:- | grep -F "$3" \
    | awk -F'[,:]' 'NR == 1 { lo = $1 } { hi = $1; n++ } END { if (n) print lo, hi, n }'
}
title=#313624 # the title's dark line, on row 31 of the main window
frame=#626B48 # the frame colour of its border and grips
# The main window in screenshot NAME, as "left top width height": its
# title line is the topmost row through the output's middle column with
# more than 300 pixels of it; its lower edge lies below the last run of
# frame-coloured rows of the column 300 pixels in.
window_in() {
  local y c x0 x1 n b
  for y in $(rows_in "$1" $((W / 2)) "$title"); do
    c=$(cols_in "$1" "$y" "$title")
    [[ -n "$c" ]] || continue
    read -r x0 x1 n <<<"$c"
    ((n > 300)) || continue
    # The bottom grip's first row, 4 rows above the window's lower edge
    # (the outermost row is not always redrawn after a size step).
    b=$(rows_in "$1" $((x0 + 295)) "$frame" | awk 'NR > 1 && $1 != last + 1 { start = $1 } NR == 1 { start = $1 } { last = $1 } END { print start }')
    [[ -n "$b" ]] || return 1
    echo $((x0 - 5)) $((y - 31)) $((x1 - x0 + 11)) $((b + 4 - (y - 31)))
    return 0
  done
  return 1
}
# Looks again: sets left top width height; fails while there is no window.
look() {
  local g
  shot "$1"
  g=$(window_in "$1") || return 1
  read -r left top width height <<<"$g"
}
# The result dialog's title line (its blue theme's darkened frame colour,
# row 31): the dialog's left and top, wherever weston put it.
dialog_at() {
  local x y c x0 x1 n
  shot dialog
  for x in $(seq 50 100 $((W - 50))); do
    y=$(rows_in dialog "$x" '#0A304E' | head -1)
    [[ -n "$y" ]] || continue
    c=$(cols_in dialog "$y" '#0A304E')
    read -r x0 x1 n <<<"$c"
    ((n > 300)) || continue
    dleft=$((x0 - 5)) dtop=$((y - 31))
    return 0
  done
  return 1
}
no_dialog() { ! dialog_at; }

# A region of the output, kept as NAME; then whether it has changed since.
mark() { import -window root -crop "${4}x${5}+$2+$3" +repage "$outdir/$run-$1.mark.png"; }
changed() {
  ! cmp -s <(convert "$outdir/$run-$1.mark.png" rgb:-) \
    <(import -window root -crop "${4}x${5}+$2+$3" +repage rgb:-)
}
# The region X Y W H holds still: two looks 0.1 s apart alike (used once a
# change there has been seen).
still() {
  cmp -s <(import -window root -crop "${3}x${4}+$1+$2" +repage rgb:-) \
    <(sleep 0.1; import -window root -crop "${3}x${4}+$1+$2" +repage rgb:-)
}

# The pointer, as weston sees it: weston's X window takes it from the first
# entry on; each move ends with a short step, as a hand's does. The pauses
# are that hand's pace (weston passes the pointer on in its own time, and
# nothing on the screen shows that the program has it), not waits for an
# effect.
point() {
  xdotool mousemove $(($1 - 4)) $(($2 - 3)); sleep 0.05
  xdotool mousemove "$1" "$2"; sleep 0.15
}
# weston draws its pointer (black outlined) at the point, on its bare
# background: it follows the X pointer. The grep reads all of import's
# output: one that stopped at the first match would break import's pipe,
# and under pipefail a match would count as a miss.
pointer_seen() {
  import -window root -crop 16x16+$((W / 2))+$((H / 2)) +repage -depth 8 txt:- | grep -F '#000000' >/dev/null
}
# Out of the output and back in; then weston draws its pointer there
# within 3 s, however loaded the machine, or the entry is made again. The
# pause outside is the hand's too: weston shows nothing when the pointer
# leaves its window.
enter_output() {
  xdotool mousemove $((W + 40)) $((H + 40)); sleep 0.2
  point $((W / 2 - 40)) $((H / 2 - 40))
  point $((W / 2)) $((H / 2))
  for _ in $(seq 15); do pointer_seen && return 0; sleep 0.2; done
  return 1
}
await "weston's pointer" enter_output

# As a person's session starts it: Wayland only, no platform named.
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" \
  "$program" >"$outdir/$run.log" 2>&1 &
pid=$!

await "window on the output" look start
x0=$left y0=$top w0=$width h0=$height
((x0 >= 0 && y0 >= 0 && x0 + w0 <= W)) || fail "the window is placed off the output ($x0,$y0 ${w0}x$h0)"
maximised() { look maximised && ((left == 0 && width == W && top >= 0 && top < 100)); }
# Back at the size it had: where is weston's to choose.
restored() { look restored && ((width == w0 && height == h0)); }
# The pointer moves on, as a person's does, over the output's middle,
# which the window covers in every state: the frame takes its height from
# the window at a move over it.
away() { point $((W / 2)) $((H / 2)); }

# 1. The caption button: maximise (45 pixels from the right edge, 8 from
# the top), then restore by the same button at the new right end.
point $((x0 + w0 - maximise_from_right)) $((y0 + close_y))
xdotool click 1
away
await "pseudo-maximise by the caption button" maximised
mtop=$top
point $((W - maximise_from_right)) $((mtop + close_y))
xdotool click 1
away
await "restore by the caption button to ${w0}x$h0" restored
# 2. A double-click on the title, twice.
point $((left + title_middle[0])) $((top + title_middle[1]))
xdotool click --repeat 2 --delay 80 1
away
await "pseudo-maximise by a double-click" maximised
point "${title_middle[0]}" $((mtop + title_middle[1]))
xdotool click --repeat 2 --delay 80 1
away
await "restore by a double-click to ${w0}x$h0" restored
# 3. Maximised by a double-click, restored by the system menu: a right
# click on the title opens it at the pointer, 还原 its first item.
point $((left + title_middle[0])) $((top + title_middle[1]))
xdotool click --repeat 2 --delay 80 1
away
await "pseudo-maximise by a double-click" maximised
mx=${title_middle[0]} my=$((mtop + title_middle[1]))
point "$mx" "$my"
mark menu $((mx + 10)) $((my + 2)) 120 80
xdotool click 3
await "system menu" changed menu $((mx + 10)) $((my + 2)) 120 80
await "system menu drawn" still $((mx + 10)) $((my + 2)) 120 80
point $((mx + menu_first_item[0])) $((my + menu_first_item[1]))
xdotool click 1
away
await "restore by the system menu to ${w0}x$h0" restored

# 4. A title drag by (-60, 35) in steps; moves without a button afterwards
# leave the window where the release put it.
sleep 0.5 # the double-click time (Qt's 400 ms) past the last click: the press below is a click of its own
look dragfrom || fail "no window before the drag"
fx=$left fy=$top
tx=$((fx + title_middle[0])) ty=$((fy + title_middle[1]))
# The first move starts the drag; the window then follows the pointer from
# where weston's move finds it. Nothing on the screen shows that the move
# has begun, hence the one pause; the release waits until the window is seen
# at the drag's end.
xdotool mousemove "$tx" "$ty" mousedown 1 mousemove $((tx - 10)) $((ty + 5)) sleep 0.2 \
  mousemove $((tx - 30)) $((ty + 15)) mousemove $((tx - 60)) $((ty + 35))
dragged() { look dragged && ((left == fx - 60 && top == fy + 35 && width == w0)); }
await "title drag to $((fx - 60)),$((fy + 35))" dragged
xdotool mouseup 1
await "title drag to $((fx - 60)),$((fy + 35)) after the release" dragged
# The pointer moves on, then onto the close button where the release left
# the window: weston draws its pointer there, and the button lights, once
# the moves are through; a move left running would have taken the window
# along by then.
cx=$((left + width - close_from_right - 9)) cy=$((top + close_y - 9))
mark letgo "$cx" "$cy" 18 18
away
point $((W / 2 + 60)) $((H - 60))
point $((left + width - close_from_right)) $((top + close_y))
lit_or_moved() { changed letgo "$cx" "$cy" 18 18 || ! { look stayed && ((left == fx - 60 && top == fy + 35)); }; }
await "the close button lit after the release" lit_or_moved
look stayed && ((left == fx - 60 && top == fy + 35)) || fail "the window followed the pointer after the release, to $left,$top"

# 5. A mock exam while maximised: 模拟考试, 交卷, Yes (the default) in
# the confirmation, 确定 in the result dialog; then the restore.
point $((left + title_middle[0])) $((top + title_middle[1]))
xdotool click --repeat 2 --delay 80 1
away
await "pseudo-maximise before the exam" maximised
# The exam shows in the window's body below the tabs, away from the pointer.
point "${tab_exam[0]}" $((mtop + tab_exam[1]))
mark exam 0 $((mtop + 150)) "$W" 500
xdotool click 1
await "the exam" changed exam 0 $((mtop + 150)) "$W" 500
point "${hand_in[0]}" $((mtop + hand_in[1]))
xdotool click 1
# Return is Yes once the confirmation is up and has the keyboard (weston
# gives it a moment later on a loaded machine, and a Return before that
# goes to the main window): pressed again, 3 s apart, until the result
# dialog comes.
hand_in() {
  xdotool key Return
  for _ in $(seq 15); do dialog_at && return 0; sleep 0.2; done
  return 1
}
await "result dialog" hand_in
shot result
point $((dleft + result_ok[0])) $((dtop + result_ok[1]))
xdotool click 1
away
await "the result dialog's close" no_dialog
await "the maximised window after the exam" maximised
point "${title_middle[0]}" $((mtop + title_middle[1]))
xdotool click --repeat 2 --delay 80 1
away
await "restore after the exam to ${w0}x$h0" restored

# 6. The bottom grip's corner zone, 6 pixels in, to 56 and 43 pixels in:
# the new edges lie 5 pixels beyond the pointer. The press reaches the
# program after the moves onto the grip, the drag's moves after the press,
# in the order sent; the release once the window has the size.
gx=$((left + width - grip_corner_from_right)) gy=$((top + height - grip_corner_from_bottom))
point $((gx - 4)) "$gy"
point "$gx" "$gy"
xdotool mousedown 1 mousemove $((gx - 10)) $((gy - 8)) mousemove $((gx - 30)) $((gy - 20)) mousemove $((gx - 50)) $((gy - 40))
sized() { look sized && ((width == w0 - 51 && height == h0 - 38)); }
await "grip drag to $((w0 - 51))x$((h0 - 38))" sized
xdotool mouseup 1
await "grip drag to $((w0 - 51))x$((h0 - 38)) after the release" sized

# 7. The close button, 15 pixels in from the right end: lit under the
# pointer, then clicked.
cx=$((left + width - close_from_right - 9)) cy=$((top + close_y - 9))
mark close "$cx" "$cy" 18 18
point $((left + width - close_from_right)) $((top + close_y))
await "close button lit" changed close "$cx" "$cy" 18 18
xdotool click 1
expect_exit_0 "its close button was clicked"
echo "e2e $run: opened on the output at $x0,$y0 (${w0}x$h0); maximised to $W pixels wide below a ${mtop}-pixel panel" \
  "and back to ${w0}x$h0 by the caption button, a double-click and the system menu; dragged by (-60, 35);" \
  "a mock exam to the result dialog and back while maximised; sized to $((w0 - 51))x$((h0 - 38)); closed with exit code 0" \
  "after $SECONDS s"
