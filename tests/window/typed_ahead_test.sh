#!/usr/bin/env bash
# Keys typed ahead into the desktop program while it is busy, as a user at a slow machine types
# them: with the load dialog answered (100) and the main window focused, the program is stopped,
# F1 2 9 BackSpace 5 Return are pressed, and it is continued. The dialog must open and take the
# keys in order, the editing key too, as on Windows: the window then equals velmora-render
# --load 25 at the start. ENTER and F1 must still work afterwards without the window being
# clicked or focused again, and a window manager's name left behind by one that ended must hold
# up no dialog. Last, the X server ends under the program, which must say so in one sentence and
# exit with status 1.
#
# Usage: typed_ahead_test.sh VELMORA VELMORA_RENDER WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 render=$2 work=$3
source "$(dirname "$0")/xsession.sh"

prepare_test "the typed-ahead test" Xvfb "xdotool xprop import compare" "$work"
velmora_pid=
trap end_stopped_program_and_xvfb EXIT

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
xdotool key --delay 50 F1 2 9 BackSpace 5 Return
kill -CONT "$velmora_pid"

poll 15 shows "$work/load25.png" ||
    fail "after F1 2 9 BackSpace 5 Return typed ahead, the window is not velmora-render --load 25's" \
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

# A window manager's name left on the root window by one that ended (no window has that number)
# must not hold up the dialog. Nine dialogs opened ahead, eight closed and the last answered, take
# as long with it as without it, where each waited a second for a frame that never came: the
# milliseconds the program takes for them go to $elapsed, the load $1 answered last.
nine_dialogs() {
    local start
    start=$(date +%s%N)
    kill -STOP "$velmora_pid"
    xdotool key --delay 20 F1 Escape F1 Escape F1 Escape F1 Escape F1 Escape F1 Escape \
        F1 Escape F1 Escape F1 $(sed 's/./& /g' <<<"$1") Return
    kill -CONT "$velmora_pid"
    poll 30 shows "$work/load$1.png" || fail "nine dialogs ending with $1 did not show load $1"
    elapsed=$((($(date +%s%N) - start) / 1000000))
}
"$render" --load 100 --clock 0 --png "$work/load100.png" || fail "velmora-render did not draw"
nine_dialogs 100
plain=$elapsed
xprop -root -f _NET_SUPPORTING_WM_CHECK 32c -set _NET_SUPPORTING_WM_CHECK 4194303 ||
    fail "could not leave a stale window manager's name on the root window"
nine_dialogs 25
stale=$elapsed
[ $((stale - plain)) -lt 4500 ] ||
    fail "nine dialogs took $stale ms with a stale window manager's name, $plain ms without"
echo "nine dialogs took $stale ms with a stale window manager's name, $plain ms without"

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
