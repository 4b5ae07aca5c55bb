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
cleanup() {
    [ -z "$velmora_pid" ] || kill "$velmora_pid" 2>/dev/null
    stop_xvfb
}
trap cleanup EXIT

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
differing=unknown
limit=$(($(date +%s) + 180))
while [ "$(date +%s)" -lt "$limit" ]; do
    kill -0 "$velmora_pid" 2>/dev/null || fail "velmora ended during the run"
    if import -window "$MAIN" "$work/shown.png" 2>/dev/null; then
        differing=$(compare -metric AE "$work/shown.png" "$work/expected.png" null: 2>&1)
        [ "$differing" = 0 ] && break
    fi
    sleep 0.5
done
if [ "$differing" != 0 ]; then
    compare "$work/shown.png" "$work/expected.png" "$work/difference.png" 2>/dev/null
    fail "the window differs from velmora-render --pulse in $differing pixels" \
        "(see $work/shown.png, expected.png, difference.png)"
fi
echo "the window equals velmora-render --pulse --source 25 --load 100 pixel for pixel"

"$send_close" "$MAIN" || fail "could not press the close box"
poll 10 is_gone "$MAIN" || fail "the close box did not close the window"
wait "$velmora_pid"
status=$?
velmora_pid=
[ "$status" = 0 ] || fail "velmora ended with exit code $status after the close box"
echo "the close box ended velmora with exit code 0"
