#!/usr/bin/env bash
# Measures the GIF export: for each size, the whole run with load 100 written as a GIF, its size
# in bytes and the run's wall and processor time (user plus system); beside it the same run
# writing only the final PNG, so that the difference is what the GIF costs. Each time is the
# median of five runs. The goals at 992x666: under 400 KB and under 1 s.
#
# Usage: bench/gif_export.sh [BUILD_DIR] [SIZE...]   (default build, 992x666 1920x1080)
set -euo pipefail
cd "$(dirname "$0")/.."
render=${1:-build}/bin/velmora-render
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(992x666 1920x1080)
[ -x "$render" ] || { echo "$render is missing: build the target velmora-render"; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The median wall and processor times in milliseconds of five runs of the command.
median_ms() {
    local walls=() cpus=()
    for _ in 1 2 3 4 5; do
        local TIMEFORMAT='%R %U %S' wall user system
        { time "$@"; } 2>"$work/time"
        read -r wall user system <"$work/time"
        walls+=($(awk -v t="$wall" 'BEGIN { printf "%d", t * 1000 }'))
        cpus+=($(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }'))
    done
    echo "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n 3p) $(printf '%s\n' "${cpus[@]}" | sort -n | sed -n 3p)"
}

printf '%-10s %10s %7s %7s %7s %7s %7s\n' size "GIF bytes" frames "GIF ms" "cpu ms" "PNG ms" "cpu ms"
for size in "${sizes[@]}"; do
    read -r gif_ms gif_cpu < <(median_ms "$render" --size "$size" --load 100 --gif "$work/run.gif")
    read -r png_ms png_cpu < <(median_ms "$render" --size "$size" --load 100 --png "$work/end.png")
    frames=$(identify "$work/run.gif" | wc -l)
    printf '%-10s %10d %7d %7d %7d %7d %7d\n' "$size" "$(stat -c %s "$work/run.gif")" "$frames" \
        "$gif_ms" "$gif_cpu" "$png_ms" "$png_cpu"
done
