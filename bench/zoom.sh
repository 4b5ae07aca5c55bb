#!/usr/bin/env bash
# Zoom for a 1920 x 1080 projector, side by side at zoom 1 and 2: the height of the readouts'
# digits in velmora-render --size 1920x1080 [--zoom 2] and in the desktop window of that size
# (velmora [--zoom 2] on a private X server of that size; the goal at zoom 2 is 18 pixels or
# more), and the desktop program's processor time over a whole run (the goal: zoom 2 costs at
# most 1.3 times zoom 1). Drives it as a user would: both introductory boxes confirmed, load 100,
# ENTER.
#
# Usage: bench/zoom.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
velmora=$build/bin/velmora
render=$build/bin/velmora-render
for program in "$velmora" "$render"; do
    [ -x "$program" ] || { echo "$program is missing: build velmora and velmora-render"; exit 2; }
done
readonly screen=1920x1080
XVFB_SCREEN=$screen
source tests/window/xsession.sh

source bench/measured_program.sh

# The ink height, in pixels, of the last character of the ratio readout ("Ratio = 2.00") in
# picture $1 at zoom $2: where it is comes from the trace of the program's client.
digit_height() {
    local picture=$1 zoom=$2 x y
    "$render" --size "$screen" --zoom "$zoom" --load 100 --trace "$work/trace-$zoom"
    read -r x y < <(awk '$1 == "TextOutA" && $4 == "\"Ratio" { print $2, $3; exit }' \
        "$work/trace-$zoom")
    convert "$picture" -crop "$((400 * zoom))x$((16 * zoom))+$((x * zoom))+$((y * zoom))" +repage \
        ppm:- | /usr/bin/python3 -c '
import sys
data = sys.stdin.buffer.read()
fields = data.split(maxsplit=4)
width, height = int(fields[1]), int(fields[2])
pixels = fields[4]
def ink(x, y):
    return sum(pixels[3 * (y * width + x):3 * (y * width + x) + 3]) < 384
columns = [x for x in range(width) if any(ink(x, y) for y in range(height))]
last = [columns[-1]]
while last[-1] - 1 in columns:
    last.append(last[-1] - 1)
rows = [y for y in range(height) if any(ink(x, y) for x in last)]
print(rows[-1] - rows[0] + 1)'
}

# Plays a whole run in the desktop window at zoom $1, the window made the size of the screen.
# Prints the processor seconds of the animation; leaves the final picture in $work/shown-$1.png.
desktop_run() {
    local zoom=$1
    "$render" --size "$screen" --zoom "$zoom" --load 100 --png "$work/final-$zoom.png"
    MAIN_CLIENT_SIZE=$([ "$zoom" = 1 ] && echo 992x666 || echo "$screen")
    "$velmora" --zoom "$zoom" >"$work/velmora.log" 2>&1 &
    velmora_pid=$!
    answer_startup 100 >&2 || { cat "$work/velmora.log" >&2; exit 1; }
    xdotool windowsize --sync "$MAIN" "${screen%x*}" "${screen#*x}"
    sleep 1
    local started cpu_at_start
    press "$MAIN" Return
    started=$(now)
    cpu_at_start=$(cpu_seconds)
    sleep 17
    until import -window "$MAIN" "$work/shown-$zoom.png" 2>/dev/null &&
        [ "$(compare -metric AE "$work/shown-$zoom.png" "$work/final-$zoom.png" null: 2>&1)" = 0 ]; do
        awk -v a="$started" -v b="$(now)" 'BEGIN { exit !(b - a > 120) }' &&
            { echo "the animation at zoom $zoom did not reach its final picture" >&2; exit 1; }
        sleep 0.25
    done
    awk -v a="$cpu_at_start" -v b="$(cpu_seconds)" 'BEGIN { printf "%.3f\n", b - a }'
    kill "$velmora_pid"
    wait "$velmora_pid" 2>/dev/null || true
    velmora_pid=
}

start_xvfb || { echo "could not start an X server of our own"; exit 2; }
declare -A cpu
for zoom in 1 2; do
    "$render" --size "$screen" --zoom "$zoom" --load 100 --png "$work/render-$zoom.png"
    cpu[$zoom]=$(desktop_run "$zoom")
done

echo "on a $screen screen, load 100, at the end of the run:    zoom 1   zoom 2"
printf "readout digit height, velmora-render (pixels):     %6s   %6s\n" \
    "$(digit_height "$work/render-1.png" 1)" "$(digit_height "$work/render-2.png" 2)"
printf "readout digit height, desktop window (pixels):     %6s   %6s\n" \
    "$(digit_height "$work/shown-1.png" 1)" "$(digit_height "$work/shown-2.png" 2)"
printf "desktop processor time over the run (seconds):     %6s   %6s   (zoom 2: %s times zoom 1)\n" \
    "${cpu[1]}" "${cpu[2]}" "$(awk -v a="${cpu[1]}" -v b="${cpu[2]}" 'BEGIN { printf "%.2f", b / a }')"
