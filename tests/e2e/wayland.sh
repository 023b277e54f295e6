#!/usr/bin/env bash
# One program on a Wayland session without an X server for it: weston (its
# X11 back end, on a private Xvfb that only weston talks to, so that xdotool
# can give weston a pointer) on a socket of its own, the program started as a
# person starts it, with WAYLAND_DISPLAY set and no DISPLAY. It opens,
# pseudo-maximises to the output (below weston's panel) with its caption
# buttons on the output, and closes by its close button with exit code 0.
#   wayland.sh PROGRAM NAME OUTDIR
set -euo pipefail
program=$1 name=$2 outdir=$3
run="wayland-$name"
fail() { echo "e2e $run: $*" >&2; exit 1; }
command -v weston >/dev/null || fail "weston is not installed (scripts/setup.sh installs it)"
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
runtime=$(mktemp -d)
chmod 700 "$runtime"
scratch+=("$runtime")
socket="wayland-e2e-$$"
W=1200 H=900
XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --use-pixman --socket="$socket" \
  --width=$W --height=$H --idle-time=0 >"$outdir/$run.weston.log" 2>&1 &
helpers+=($!)
for _ in $(seq 100); do [[ -S "$runtime/$socket" ]] && break; sleep 0.1; done
[[ -S "$runtime/$socket" ]] || fail "weston did not open its socket"
sleep 1

# As a person's session starts it: Wayland only, no platform named.
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" \
  "$program" >"$outdir/$run.log" 2>&1 &
pid=$!

shot() { import -window root "$outdir/$run-$1.png"; }
# The title's dark line (the darkened khaki, on row 31 of the window): its
# topmost row on the screen with more than 300 such pixels, and the row's
# first and last column: "y x0 x1".
titleline() {
  convert "$outdir/$run-$1.png" -crop "${W}x${H}+0+0" txt:- | { grep -F '#313624' || true; } \
    | awk -F'[,:]' '{ n[$2]++; if (!($2 in lo) || $1 < lo[$2]) lo[$2] = $1; if ($1 > hi[$2]) hi[$2] = $1 }
        END { best = -1; for (y in n) if (n[y] > 300 && (best < 0 || y + 0 < best)) best = y + 0
              if (best >= 0) print best, lo[best], hi[best] }'
}
line=
for _ in $(seq 40); do
  shot start
  line=$(titleline start)
  [[ -n "$line" ]] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window showed"
  sleep 0.5
done
[[ -n "$line" ]] || fail "no window on the output"
read -r ty tx0 tx1 <<<"$line"
top=$((ty - 31)) left=$((tx0 - 5)) right=$((tx1 + 5))
(( top >= 0 && left >= 0 && right < W )) || fail "the window is placed off the output ($left,$top to $right)"

# The maximise button, 45 pixels from the right edge, 8 from the top.
xdotool mousemove $((right - 36)) $((top + 17)); sleep 0.3
xdotool click 1
for _ in $(seq 40); do
  sleep 0.5
  # The pointer moves on, as a person's does; the frame follows the size.
  xdotool mousemove 600 500; sleep 0.2; xdotool mousemove 610 510
  shot maximised
  line=$(titleline maximised)
  [[ -n "$line" ]] || continue
  read -r my mx0 mx1 <<<"$line"
  (( mx0 == 5 && mx1 == W - 6 )) && break
done
[[ -n "$line" ]] || fail "no window after the maximise"
read -r my mx0 mx1 <<<"$line"
(( mx0 == 5 && mx1 == W - 6 )) || fail "pseudo-maximised across $((mx0 - 5)) to $((mx1 + 5)), not the output's $W pixels"
mtop=$((my - 31))
(( mtop >= 0 && mtop < 100 )) || fail "the maximised window's top is at $mtop"
# The close button on the output: its column differs from the title's.
xdotool mousemove $((W - 15)) $((mtop + 17)); sleep 0.3
xdotool click 1
expect_exit_0 "its close button was clicked"
echo "e2e $run: opened on the output at $left,$top, maximised by the compositor to ${W} pixels wide below a ${mtop}-pixel panel, closed with exit code 0"
