#!/usr/bin/env bash
# What a learner meets at the edges of the real main window under a fresh
# Xvfb: a caption button's tooltip goes within a second of the pointer
# leaving the button for the bare title bar, and the next button shows its
# own; under a window manager the
# narrowest message box ("请选择章节！") shows its title in full, as a wide
# one shows it, and asks for no minimise or maximise button.
#   edges.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

shown() { [[ -n "$(others)" ]]; }
gone() { [[ -z "$(others)" ]]; }
# Screenshot A's region W H X Y is the same in screenshot B.
region_alike() {
  cmp -s <(convert "$outdir/$1-$wm.png" -crop "$3" rgb:-) <(convert "$outdir/$2-$wm.png" -crop "$3" rgb:-)
}

# The tooltip: "关闭" over the close button, gone within a second of the
# pointer's move onto the bare title bar, its place on the screen as it was.
xdotool mousemove --window "$window" "${title_bar[@]}"
wait_until holds_still || fail "the window does not hold still"
shot tip-before
xdotool mousemove --window "$window" $((winw - close_from_right)) "$close_y"
wait_until shown || fail "no tooltip over the close button"
tip=$(others | head -1)
eval "$(xdotool getwindowgeometry --shell "$tip")"
tipregion="${WIDTH}x$HEIGHT+$X+$Y"
wait_until holds_still || true
shot tip-shown
region_alike tip-before tip-shown "$tipregion" && fail "the tooltip is not on the screen"
xdotool mousemove --window "$window" "${title_bar[@]}"
left=$(date +%s%N)
until gone && { shot tip-after; region_alike tip-before tip-after "$tipregion"; }; do
  (( $(date +%s%N) - left < 1000000000 )) || fail "the tooltip is still on the screen a second after the pointer left"
  sleep 0.05
done
took=$(( ($(date +%s%N) - left) / 1000000 ))

# From one button straight to the next: the next one's tooltip ("最大化",
# a character longer than "关闭") comes up in place of the first.
tip_width() { xdotool getwindowgeometry --shell "$(others | head -1)" 2>/dev/null | sed -n 's/^WIDTH=//p'; }
xdotool mousemove --window "$window" $((winw - close_from_right)) "$close_y"
wait_until shown || fail "no tooltip over the close button the second time"
close_tip=$(tip_width)
xdotool mousemove --window "$window" $((winw - maximise_from_right)) "$close_y"
next_tip() { shown && [[ "$(tip_width)" != "$close_tip" ]]; }
wait_until next_tip || fail "no tooltip of its own over the maximise button"
xdotool mousemove --window "$window" "${title_bar[@]}"
wait_until gone || fail "the maximise button's tooltip stays"

if [[ "$wm" == openbox ]]; then
  # The message box's title bar, drawn by the window manager above it: the
  # bright pixels of its text and icon, the buttons at its right end left out.
  title_ink() {
    local box=$1 extents l t info x y w
    extents=$(xprop -id "$box" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ' ')
    l=${extents%%,*} t=$(cut -d, -f3 <<<"$extents")
    info=$(xwininfo -id "$box")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    convert "$outdir/$2-$wm.png" -crop "$((w - 60))x$t+$((x - l))+$((y - t))" +repage -colorspace gray \
      -threshold 94% -format '%[fx:round(mean*w*h)]' info:
  }
  box_checks() {
    local box=$1 hints functions decorations
    xprop -id "$box" _NET_WM_ALLOWED_ACTIONS | grep -F MAXIMIZE >/dev/null && fail "the box $2 can be maximised"
    hints=$(xprop -id "$box" _MOTIF_WM_HINTS | grep -o '=.*' | tr -d '= ')
    functions=$(cut -d, -f2 <<<"$hints") decorations=$(cut -d, -f3 <<<"$hints")
    # Motif: functions 8 minimise, 16 maximise; decorations 32 and 64.
    (( (functions & 0x18) == 0 && (decorations & 0x61) == 0 )) || fail "the box $2 asks for minimise or maximise ($hints)"
  }
  shot "$run.chapters"
  single_click "${tab_chapter[@]}"
  settles_from "$run.chapters" || fail "the chapter panel did not come up"
  single_click "${chapter_select[@]}"  # with no chapter ticked
  wait_until shown || fail "no message box for a select without a chapter"
  box=$(others | head -1)
  wait_until holds_still || true
  shot box-narrow
  box_checks "$box" "请选择章节！"
  narrow=$(title_ink "$box" box-narrow)
  narrow_width=$(xdotool getwindowgeometry --shell "$box" | sed -n 's/^WIDTH=//p')
  xdotool key Return
  wait_until gone || fail "the message box stays after Return"

  # A wide box of the same title: the bank gone, the file is named.
  rm "$folder/in.dll"
  single_click "${tab_sequential[@]}"
  wait_until shown || fail "no message box for a bank that is gone"
  box=$(others | head -1)
  wait_until holds_still || true
  shot box-wide
  wide=$(title_ink "$box" box-wide)
  wide_width=$(xdotool getwindowgeometry --shell "$box" | sed -n 's/^WIDTH=//p')
  ((wide_width > narrow_width)) || fail "the wide box is $wide_width px wide, the narrow one $narrow_width"
  ((narrow == wide)) || fail "the narrow box's title shows $narrow bright pixels, the wide box's $wide: cut short"
  xdotool key Return
  wait_until gone || fail "the message box stays after Return"
  echo "e2e $name: the narrow box ($narrow_width px) shows its title as the wide one ($wide bright pixels)"
fi

close_and_check_exit
echo "e2e $name: the close button's tooltip gone ${took} ms after the pointer left it, exit code 0"
