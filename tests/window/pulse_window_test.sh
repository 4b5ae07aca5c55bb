#!/usr/bin/env bash
# The desktop program's pulse mode in a real window on a private X server, driven as a user
# would: both introductory boxes confirmed, 25 typed into the dialog's source field and, after
# TAB, 100 into its load field, ENTER to start. When the run has ended, the window's client area
# must equal, pixel for pixel, what velmora-render --pulse draws for the same values; then the
# close box ends the program with exit code 0.
#
# Usage: pulse_window_test.sh VELMORA VELMORA_RENDER SEND_CLOSE WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 render=$2 send_close=$3 work=$4
source "$(dirname "$0")/xsession.sh"

prepare_test "the real-window test" Xvfb "xdotool import compare" "$work"
velmora_pid=
trap end_stopped_program_and_xvfb EXIT

"$render" --pulse --source 25 --load 100 --png "$work/expected.png" ||
    fail "velmora-render did not draw the picture"

pulse_window() {
    local id
    for id in $(windows_titled "Velmora pulse"); do
        [ "$(window_size "$id")" = "$MAIN_CLIENT_SIZE" ] && { echo "$id"; return 0; }
    done
    return 1
}

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"
"$velmora" --pulse >"$work/velmora.log" 2>&1 &
velmora_pid=$!

MAIN=$(poll 30 pulse_window) || fail "the window titled Velmora pulse did not appear"
first=$(poll 30 other_window Velmora) || fail "the first message box did not appear"
press "$first" Return
poll 10 is_gone "$first" || fail "ENTER did not close the first message box"
second=$(poll 30 other_window Velmora "$first") || fail "the second message box did not appear"
press "$second" Return
poll 10 is_gone "$second" || fail "ENTER did not close the second message box"
dialog=$(poll 30 other_window "Pulse values") || fail "the pulse dialog did not appear"
type_text "$dialog" 25
press "$dialog" Tab
type_text "$dialog" 100
press "$dialog" Return
poll 10 is_gone "$dialog" || fail "ENTER did not close the pulse dialog"
press "$MAIN" Return

# 720 ticks of 50 ms: about 36 s; a slow machine gets more time.
wait_until_shown "$work/expected.png" 180 "velmora-render --pulse" "the run"
echo "the window equals velmora-render --pulse --source 25 --load 100 pixel for pixel"

close_with_close_box
