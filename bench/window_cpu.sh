#!/usr/bin/env bash
# Measures the desktop program in a real window on a private X server: the time from start to
# the main window and to its first picture, and the processor time it uses while it animates
# (the goal is under 2 % of one core). Drives it as a user would: both introductory boxes
# confirmed, load 100, ENTER.
#
# Usage: bench/window_cpu.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
velmora=$build/bin/velmora
render=$build/bin/velmora-render
watcher=$build/bin/velmora_window_start
for program in "$velmora" "$render" "$watcher"; do
    [ -x "$program" ] ||
        { echo "$program is missing: build velmora, velmora-render and velmora_window_start"; exit 2; }
done
source tests/window/xsession.sh

source bench/measured_program.sh

elapsed_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%d", (b - a) * 1000 }'; }
percent() { awk -v cpu="$1" -v wall="$2" 'BEGIN { printf "%.2f", 100 * cpu / wall }'; }

"$render" --load 100 --png "$work/final.png"
start_xvfb || { echo "could not start an X server of our own"; exit 2; }

# Started and watched from the X server: the main window's map and its first picture, to the
# millisecond.
started=$(now)
"$watcher" "$MAIN_CLIENT_SIZE" "$velmora" >"$work/start.txt" 2>"$work/velmora.log" || true
velmora_pid=$(awk '$1 == "pid" { print $2 }' "$work/start.txt")
window_ms=$(awk '$1 == "window_ms" { print $2 }' "$work/start.txt")
picture_ms=$(awk '$1 == "picture_ms" { print $2 }' "$work/start.txt")
[ -n "$picture_ms" ] || { cat "$work/velmora.log"; echo "the main window showed no picture"; exit 1; }

start_animation 100
animation_started=$(now)
cpu_at_start=$(cpu_seconds)

# The picture stays once the animation is over: the end is when it equals velmora-render's.
sleep 17
while :; do
    import -window "$MAIN" "$work/shown.png" 2>/dev/null &&
        [ "$(compare -metric AE "$work/shown.png" "$work/final.png" null: 2>&1)" = 0 ] && break
    [ "$(elapsed_ms "$animation_started" "$(now)")" -lt 120000 ] ||
        { echo "the animation did not reach its final picture"; exit 1; }
    sleep 0.25
done
animation_ended=$(now)
cpu_at_end=$(cpu_seconds)

animation_wall=$(awk -v a="$animation_started" -v b="$animation_ended" 'BEGIN { print b - a }')
run_wall=$(awk -v a="$started" -v b="$animation_ended" 'BEGIN { print b - a }')
animation_cpu=$(awk -v a="$cpu_at_start" -v b="$cpu_at_end" 'BEGIN { print b - a }')
echo "start to main window shown:      $window_ms ms"
echo "start to its first picture:      $picture_ms ms"
echo "animation (360 ticks of 50 ms):  $(elapsed_ms "$animation_started" "$animation_ended") ms wall," \
    "${animation_cpu} s processor time"
echo "processor use while animating:   $(percent "$animation_cpu" "$animation_wall") % of one core"
echo "processor use over the whole run: $(percent "$cpu_at_end" "$run_wall") % of one core" \
    "(start-up and dialogs included)"
