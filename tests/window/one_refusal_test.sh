#!/usr/bin/env bash
# One refusal box at a time in the desktop lab, as on Windows: with a text that is not a load in
# the lab's dialog, the program is stopped, ENTER is pressed five times, and it is continued. At
# most one "not a load" box opens over the dialog (each ENTER opened one inside the last); ENTER
# closes it and the dialog stays for a better text.
#
# Usage: one_refusal_test.sh VELMORA WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 work=$2
source "$(dirname "$0")/xsession.sh"

prepare_test "the refusal test" Xvfb xdotool "$work"
velmora_pid=
trap end_stopped_program_and_xvfb EXIT

# The dialog and the boxes over it share the title "Load value".
load_value_windows() { windows_titled "Load value" | wc -l; }

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"
"$velmora" --lab >"$work/velmora.log" 2>&1 &
velmora_pid=$!
first=$(poll 30 other_window Velmora) || fail "the first message box did not appear"
press "$first" Return
second=$(poll 30 other_window Velmora "$first") || fail "the second message box did not appear"
press "$second" Return
dialog=$(poll 30 other_window "Load value") || fail "the lab's dialog did not appear"
type_text "$dialog" abc
sleep 0.5
kill -STOP "$velmora_pid"
xdotool key --delay 30 Return Return Return Return Return
kill -CONT "$velmora_pid"
poll 10 other_window "Load value" "$dialog" >/dev/null || fail "ENTER on abc opened no box"
sleep 2
count=$(load_value_windows)
[ "$count" = 2 ] || fail "five ENTERs on abc left $((count - 1)) boxes over the dialog"
echo "five ENTERs typed ahead on abc opened one box"
box=$(other_window "Load value" "$dialog")
press "$box" Return
poll 10 is_gone "$box" || fail "ENTER did not close the box"
sleep 1
[ "$(load_value_windows)" = 1 ] && is_mapped "$dialog" ||
    fail "after the box, $(load_value_windows) windows titled Load value (the dialog alone wanted)"
echo "ENTER closed it, and the dialog stays"
