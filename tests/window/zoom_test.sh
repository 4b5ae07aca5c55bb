#!/usr/bin/env bash
# The desktop program zoomed, in a real window on a private X server with a screen larger than a
# projector's: started with --zoom 2 (the window opens twice the program's size, within the
# screen), and zoomed with Ctrl+plus before a run in a window made larger first. When the
# animation has run to its end, the window must equal, pixel for pixel, what velmora-render
# --zoom 2 draws for the same size and load: the smaller client's picture, every pixel a 2 x 2
# block. Ctrl+plus in the default window, which would leave the picture too little room, changes
# nothing.
#
# Usage: zoom_test.sh VELMORA VELMORA_RENDER WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 render=$2 work=$3
readonly load=100
# Wider than 1920 x 1080, and an unusual size (see xsession.sh).
XVFB_SCREEN=1928x1096
source "$(dirname "$0")/xsession.sh"

prepare_test "the zoom test" Xvfb "xdotool import compare" "$work"
velmora_pid=
trap end_stopped_program_and_xvfb EXIT

stop_velmora() {
    kill "$velmora_pid" 2>/dev/null
    wait "$velmora_pid" 2>/dev/null
    velmora_pid=
}

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"

# --zoom 2: the window opens at 1984 x 1332 cut to the screen, the program draws in half of it.
MAIN_CLIENT_SIZE=1928x1096
"$render" --size "$MAIN_CLIENT_SIZE" --zoom 2 --load "$load" --png "$work/started-zoomed.png" ||
    fail "velmora-render did not draw the picture"
"$velmora" --zoom 2 >"$work/velmora.log" 2>&1 &
velmora_pid=$!
start_animation "$load" || fail "could not start the animation as a user would"
wait_until_shown "$work/started-zoomed.png" 120 started-zoomed.png "the animation"
echo "velmora --zoom 2 equals velmora-render --size $MAIN_CLIENT_SIZE --zoom 2 pixel for pixel"
stop_velmora

# Ctrl+plus: refused in the program's own window (it would leave 496 x 333), taken once the
# window is larger; Ctrl+minus and Ctrl+0 before it change nothing at zoom 1.
MAIN_CLIENT_SIZE=992x666
"$render" --size 1800x1000 --zoom 2 --load "$load" --png "$work/zoomed-by-key.png" ||
    fail "velmora-render did not draw the picture"
"$velmora" >"$work/velmora.log" 2>&1 &
velmora_pid=$!
answer_startup "$load" || fail "could not answer the start-up boxes and dialog"
press "$MAIN" ctrl+minus ctrl+0 ctrl+plus
sleep 0.5
[ "$(window_size "$MAIN")" = 992x666 ] || fail "the keys changed the window's size"
"$render" --load "$load" --clock 0 --png "$work/unzoomed.png"
wait_until_shown "$work/unzoomed.png" 120 unzoomed.png "the animation"
xdotool windowsize --sync "$MAIN" 1800 1000 || fail "could not make the window larger"
press "$MAIN" ctrl+plus Return
wait_until_shown "$work/zoomed-by-key.png" 120 zoomed-by-key.png "the animation"
echo "Ctrl+plus before the run equals velmora-render --size 1800x1000 --zoom 2 pixel for pixel"
