#!/usr/bin/env bash
# The desktop program on a screen smaller than its picture needs (800 x 400): the window opens
# within the screen and shows the whole picture reduced, the program keeping its smallest client.
# At the end of the run the window must equal velmora-render's picture of that client with every
# 2 x 2 block averaged (ImageMagick's box -scale, to within its rounding), white below it.
#
# Usage: reduced_test.sh VELMORA VELMORA_RENDER WORK_DIR
# Exit code 77 (skipped) when Xvfb is not installed.
set -uo pipefail

readonly velmora=$1 render=$2 work=$3
readonly load=100
# Half the smallest client across, a little more down (see xsession.sh on unusual sizes).
XVFB_SCREEN=400x203
MAIN_CLIENT_SIZE=400x203
source "$(dirname "$0")/xsession.sh"

prepare_test "the reduced window test" Xvfb "xdotool import compare convert" "$work"
velmora_pid=
trap end_stopped_program_and_xvfb EXIT

XVFB_LOG=$work/xvfb.log start_xvfb || fail "could not start an X server of our own"

"$render" --size 800x400 --load "$load" --png "$work/smallest.png" ||
    fail "velmora-render did not draw the picture"
convert "$work/smallest.png" -scale 50% -background white -extent 400x203 "$work/reduced.png" ||
    fail "could not reduce velmora-render's picture"

"$velmora" >"$work/velmora.log" 2>&1 &
velmora_pid=$!
start_animation "$load" || fail "could not start the animation as a user would"
limit=$(($(date +%s) + 120))
differing=unknown
while [ "$(date +%s)" -lt "$limit" ]; do
    kill -0 "$velmora_pid" 2>/dev/null || fail "velmora ended during the animation"
    if import -window "$MAIN" "$work/shown.png" 2>/dev/null; then
        differing=$(compare -metric AE -fuzz 1% "$work/shown.png" "$work/reduced.png" null: 2>&1)
        [ "$differing" = 0 ] && break
    fi
    sleep 0.5
done
[ "$differing" = 0 ] || fail "the window differs from the reduced picture in $differing pixels" \
    "(see $work/shown.png and reduced.png)"
echo "on a $XVFB_SCREEN screen the window shows velmora-render --size 800x400 reduced by half"
