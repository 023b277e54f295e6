#!/usr/bin/env bash
# One program under a fresh Xvfb, driven by xdotool: it shows its window, a
# click on the sequential tab brings the question panel up, and closing the
# window ends it with exit code 0. Screenshots go to OUTDIR.
#   e2e.sh PROGRAM NAME OUTDIR WMCLOSE
set -euo pipefail
program=$1 name=$2 outdir=$3 wmclose=$4
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

shot "$name-start"
# A point of the background's first mode tag; the question panel covers it.
before=$(pixel "$name-start" 95 237)
[[ "$before" != "#FFFFFF" ]] || fail "the background picture is not shown ($before)"
click 110 111 1
shot "$name-question"
after=$(pixel "$name-question" 95 237)
[[ "$after" == "#FFFFFF" ]] || fail "the question panel did not come up ($after)"
close_and_check_exit
echo "e2e $name: window shown, question panel up, closed with exit code 0"
