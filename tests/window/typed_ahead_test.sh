#!/usr/bin/env bash
# Keys typed ahead into the desktop program while it is busy, as a user at a slow machine types
# them: with the load dialog answered (100) and the main window focused, the program is stopped,
# F1 2 5 Return are pressed, and it is continued. The dialog must open and take the typed 25, as
# on Windows: the window then equals velmora-render --load 25 at the start. ENTER and F1 must
# still work afterwards without the window being clicked or focused again. Last, the X server
# ends under the program, which must say so in one sentence and exit with status 1.
#
# Usage: typed_ahead_test.sh VELMORA VELMORA_RENDER WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 render=$2 work=$3
source "$(dirname "$0")/xsession.sh"

prepare_test "the typed-ahead test" Xvfb "xdotool import compare" "$work"
velmora_pid=
cleanup() {
    [ -z "$velmora_pid" ] || kill -CONT "$velmora_pid" 2>/dev/null
    [ -z "$velmora_pid" ] || kill "$velmora_pid" 2>/dev/null
    stop_xvfb
}
trap cleanup EXIT

# Pixels of the main window that differ from $1.
differing_from() {
    import -window "$MAIN" "$work/shown.png" 2>/dev/null || { echo unknown; return; }
    compare -metric AE "$work/shown.png" "$1" null: 2>&1
}

shows() { [ "$(differing_from "$1")" = 0 ]; }
differs() { local d; d=$(differing_from "$1"); [ "$d" != 0 ] && [ "$d" != unknown ]; }

"$render" --load 25 --clock 0 --png "$work/load25.png" || fail "velmora-render did not draw"

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"
"$velmora" >"$work/velmora.log" 2>&1 &
velmora_pid=$!
answer_startup 100 || fail "could not answer the start-up as a user would"

xdotool windowfocus --sync "$MAIN" || fail "could not focus the main window"
sleep 0.5
kill -STOP "$velmora_pid"
# Typed to whatever has the focus, as a keyboard does.
xdotool key --delay 50 F1 2 5 Return
kill -CONT "$velmora_pid"

poll 15 shows "$work/load25.png" ||
    fail "after F1 2 5 Return typed ahead, the window is not velmora-render --load 25's" \
        "($(differing_from "$work/load25.png") pixels differ; see $work/shown.png)"
echo "the keys typed ahead reached the dialog: the load is 25"

# No focusing now: the X focus never left the main window.
xdotool key Return
poll 5 differs "$work/load25.png" || fail "ENTER typed afterwards did not start the animation"
echo "ENTER works afterwards"
xdotool key F1
dialog=$(poll 10 other_window "Load value") || fail "F1 typed afterwards opened no dialog"
xdotool key Escape
poll 10 is_gone "$dialog" || fail "Esc did not close the dialog F1 opened"
echo "F1 works afterwards"

kill "$XVFB_PID"
wait "$velmora_pid"
status=$?
velmora_pid=
# The sanitizers' leak report may follow it.
message=$(grep -m 1 '^velmora: ' "$work/velmora.log")
[ "$status" = 1 ] || fail "velmora ended with exit code $status when the X server ended"
grep -q "connection to the X server on display .* was lost" <<<"$message" ||
    fail "velmora's message when the X server ended: '$message'"
echo "when the X server ends, velmora says: $message"
