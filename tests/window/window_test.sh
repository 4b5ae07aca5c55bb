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
cleanup() {
    [ -z "$velmora_pid" ] || kill "$velmora_pid" 2>/dev/null
    stop_xvfb
}
trap cleanup EXIT

"$render" --load "$load" --png "$work/expected.png" || fail "velmora-render did not draw the picture"

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"
"$velmora" >"$work/velmora.log" 2>&1 &
velmora_pid=$!

start_animation "$load" || fail "could not start the animation as a user would"

# 360 ticks of 50 ms: about 18 s; a slow machine gets more time.
differing=unknown
limit=$(($(date +%s) + 120))
while [ "$(date +%s)" -lt "$limit" ]; do
    kill -0 "$velmora_pid" 2>/dev/null || fail "velmora ended during the animation"
    if import -window "$MAIN" "$work/shown.png" 2>/dev/null; then
        differing=$(compare -metric AE "$work/shown.png" "$work/expected.png" null: 2>&1)
        [ "$differing" = 0 ] && break
    fi
    sleep 0.5
done
if [ "$differing" != 0 ]; then
    compare "$work/shown.png" "$work/expected.png" "$work/difference.png" 2>/dev/null
    fail "the window differs from velmora-render in $differing pixels" \
        "(see $work/shown.png, expected.png, difference.png)"
fi
echo "the window equals velmora-render --load $load pixel for pixel"

press "$MAIN" Escape
sleep 0.5
kill -0 "$velmora_pid" 2>/dev/null || fail "Esc closed the main window"
is_mapped "$MAIN" || fail "Esc closed the main window"

"$send_close" "$MAIN" || fail "could not press the close box"
poll 10 is_gone "$MAIN" || fail "the close box did not close the window"
wait "$velmora_pid"
status=$?
velmora_pid=
[ "$status" = 0 ] || fail "velmora ended with exit code $status after the close box"
echo "the close box ended velmora with exit code 0"
