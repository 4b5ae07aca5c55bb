#!/usr/bin/env bash
# The desktop program in a real window on a private X server, driven as a user would: both
# introductory boxes confirmed, 100 typed into the load dialog, ENTER to start. When the
# animation has run to its end, the window's client area must equal, pixel for pixel, what
# velmora-render draws for the same load. Then Esc must leave the window open and its close box
# must end the program with exit code 0.
#
# Usage: window_test.sh VELMORA VELMORA_RENDER SEND_CLOSE WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 render=$2 send_close=$3 work=$4
readonly load=100
source "$(dirname "$0")/xsession.sh"

prepare_test "the real-window test" Xvfb "xdotool import compare" "$work"
velmora_pid=
trap end_stopped_program_and_xvfb EXIT

"$render" --load "$load" --png "$work/expected.png" || fail "velmora-render did not draw the picture"

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"
"$velmora" >"$work/velmora.log" 2>&1 &
velmora_pid=$!

start_animation "$load" || fail "could not start the animation as a user would"

# 360 ticks of 50 ms: about 18 s; a slow machine gets more time.
wait_until_shown "$work/expected.png" 120 velmora-render "the animation"
echo "the window equals velmora-render --load $load pixel for pixel"

press "$MAIN" Escape
sleep 0.5
kill -0 "$velmora_pid" 2>/dev/null || fail "Esc closed the main window"
is_mapped "$MAIN" || fail "Esc closed the main window"

close_with_close_box
