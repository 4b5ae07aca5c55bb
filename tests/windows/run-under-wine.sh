#!/usr/bin/env bash
# Runs the native Windows program under Wine on its own X server and uses it as a person would:
# confirms both introductory boxes, types a load into the load dialog, presses ENTER in the main
# window, waits for the animation to finish and checks that the standing-wave dots (pure red)
# are on the screen. Given velmora-render, also checks that they are where our own drawing
# surface puts them for the same client area. Then plays the pulse mode (velmora.exe --pulse)
# the same way and checks its blue lines (the line's voltage, the load's graph) against
# velmora-render --pulse.
#
#   tests/windows/run-under-wine.sh VELMORA_EXE OUTPUT_DIR [VELMORA_RENDER]
#
# VELMORA_EXE may be the 32-bit or the 64-bit build; the Wine prefix is made to match. Writes the
# screen at each step to OUTPUT_DIR (intro.png, load-dialog.png, before-enter.png,
# after-animation.png, pulse-run.png), Wine's own messages to OUTPUT_DIR/wine.log and the X server's to
# OUTPUT_DIR/xvfb.log. Where Wine is missing or cannot run it says so and succeeds: the build
# alone is then the Windows check.
set -euo pipefail
source "$(dirname "$0")/../window/xsession.sh"

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 VELMORA_EXE OUTPUT_DIR [VELMORA_RENDER]" >&2
    exit 2
fi
exe=$(realpath "$1")
out=$(realpath -m "$2")
render=${3:-}
load=100
# With a 100-ohm load the envelope is a few hundred dots; far fewer means it was not drawn.
min_red_pixels=300

[ -f "$exe" ] || { echo "run-under-wine: no such program: $exe" >&2; exit 1; }
# Prints the machine field of a PE file's header (014c for x86, 8664 for x64); the header starts
# where the 32-bit value at offset 60 says.
pe_machine() {
    local header
    header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    od -An -t x2 -j $((header + 4)) -N 2 "$1" | tr -d ' '
}
case $(pe_machine "$exe" 2>/dev/null) in
    014c) export WINEARCH=win32 && wine=wine ;;
    # Debian's wine command takes the 32-bit loader whenever it is installed, even where it
    # cannot run, so the 64-bit one is named directly.
    8664) export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 && wine=$WINELOADER ;;
    *) echo "run-under-wine: not an x86 or x64 Windows program: $exe" >&2; exit 1 ;;
esac
if ! command -v "$wine" >/dev/null; then
    echo "run-under-wine: skipped, Wine for $WINEARCH is not installed"
    exit 0
fi
if ! cannot_run=$("$wine" --version 2>&1 >/dev/null); then
    echo "run-under-wine: skipped, Wine for $WINEARCH cannot run here: ${cannot_run%%$'\n'*}"
    exit 0
fi
for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "run-under-wine: $tool is missing" >&2; exit 1; }
done
mkdir -p "$out"

work=$(mktemp -d /tmp/velmora-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No .NET or HTML engine: the program needs neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree=;mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "run-under-wine: FAILED: $*" >&2
    import -display "$DISPLAY" -window root "$out/failure.png" 2>/dev/null &&
        echo "run-under-wine: screen at the failure: $out/failure.png" >&2
    exit 1
}

XVFB_LOG=$out/xvfb.log start_xvfb || { echo "run-under-wine: no X server of our own" >&2; exit 1; }

started=$SECONDS
timeout 600 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
    fail "wineboot did not set up the Wine prefix"
timeout 120 wineserver -w || true
echo "run-under-wine: fresh Wine prefix in $((SECONDS - started)) s"

# Prints the id of a visible window titled exactly TITLE, at least MIN_WIDTH pixels wide and not
# one of SKIP, waiting up to 60 s for it.
wait_for_window() {
    local title=$1 min_width=$2 skip=${3:-} id width
    for _ in $(seq 300); do
        for id in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
            [[ " $skip " == *" $id "* ]] && continue
            width=$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')
            if [ -n "$width" ] && [ "$width" -ge "$min_width" ]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

wait_until_gone() {
    for _ in $(seq 100); do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

# Gives the window the keyboard focus and types KEYS (xdotool key names or text).
press() {
    local id=$1
    shift
    timeout 10 xdotool windowfocus --sync "$id" || fail "window $id did not take the focus"
    xdotool key --clearmodifiers "$@"
}

# Writes to $2 a mask of the pixels of colour $3 (pure red by default) of the picture $1: white
# there, black elsewhere.
red_mask() {
    convert "$1" -fill black +opaque "${3:-#FF0000}" -fill white -opaque "${3:-#FF0000}" "$2"
}

red_pixels() {
    red_mask "$1" "$work/mask.png" "${2:-#FF0000}"
    convert "$work/mask.png" -format '%[fx:round(mean*w*h)]' info:
}

screen() {
    import -window root "$out/$1"
}

started=$SECONDS
(cd "$work" && exec "$wine" "$exe" >"$out/wine.log" 2>&1) &

main=$(wait_for_window Velmora 900) || fail "the main window did not appear"
first=$(wait_for_window Velmora 0 "$main") || fail "the first introductory box did not appear"
screen intro.png
press "$first" Return
wait_until_gone "$first" || fail "Enter did not close the first introductory box"
second=$(wait_for_window Velmora 0 "$main $first") ||
    fail "the second introductory box did not appear"
press "$second" Return
wait_until_gone "$second" || fail "Enter did not close the second introductory box"

dialog=$(wait_for_window "Load value" 0) || fail "the load dialog did not appear"
timeout 10 xdotool windowfocus --sync "$dialog" || fail "the load dialog did not take the focus"
xdotool type --delay 50 "$load"
screen load-dialog.png
press "$dialog" Return
wait_until_gone "$dialog" || fail "Enter did not close the load dialog"

sleep 1
screen before-enter.png
before=$(red_pixels "$out/before-enter.png")
[ "$before" -eq 0 ] || fail "$before red pixels before the animation started"

press "$main" Return
# The animation takes 360 ticks of 50 ms; wait for it, then until the dots stop changing.
sleep 18
previous=-1
for _ in $(seq 30); do
    screen after-animation.png
    count=$(red_pixels "$out/after-animation.png")
    [ "$count" -eq "$previous" ] && [ "$count" -gt 0 ] && break
    previous=$count
    sleep 2
done
echo "run-under-wine: $count standing-wave pixels after the animation" \
    "(program ran $((SECONDS - started)) s)"
[ "$count" -ge "$min_red_pixels" ] ||
    fail "only $count standing-wave pixels, expected at least $min_red_pixels"

if [ -n "$render" ]; then
    # The client area is the main window's X window; velmora-render draws one of the same size.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    convert "$out/after-animation.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        "$work/client.png"
    "$render" --size "${WIDTH}x${HEIGHT}" --load "$load" --png "$out/velmora-render.png"
    red_mask "$work/client.png" "$work/wine-dots.png"
    red_mask "$out/velmora-render.png" "$work/render-dots.png"
    differing=$(compare -metric AE "$work/wine-dots.png" "$work/render-dots.png" null: 2>&1) || true
    # GDI's 2-pixel pens cover a few dots differently from ours; anything more is a fault.
    allowed=$((count / 50))
    echo "run-under-wine: $differing standing-wave pixels differ from velmora-render" \
        "(${WIDTH}x${HEIGHT}, at most $allowed allowed)"
    [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -le "$allowed" ] ||
        fail "the standing-wave dots differ from velmora-render's in $differing pixels"
fi

# The pulse mode: 25 ohms at the source, TAB, 100 ohms at the load; a run of 720 ticks.
wineserver -k 2>/dev/null || true
wait_until_gone "$main" || fail "the main window stayed after Wine was stopped"
(cd "$work" && exec "$wine" "$exe" --pulse >>"$out/wine.log" 2>&1) &
main=$(wait_for_window "Velmora pulse" 900) || fail "the pulse mode's window did not appear"
first=$(wait_for_window Velmora 0 "$main") || fail "the pulse mode's first box did not appear"
press "$first" Return
wait_until_gone "$first" || fail "Enter did not close the pulse mode's first box"
second=$(wait_for_window Velmora 0 "$main $first") || fail "the pulse mode's second box did not appear"
press "$second" Return
wait_until_gone "$second" || fail "Enter did not close the pulse mode's second box"
dialog=$(wait_for_window "Pulse values" 0) || fail "the pulse dialog did not appear"
timeout 10 xdotool windowfocus --sync "$dialog" || fail "the pulse dialog did not take the focus"
xdotool type --delay 50 25
xdotool key Tab
xdotool type --delay 50 100
screen pulse-dialog.png
press "$dialog" Return
wait_until_gone "$dialog" || fail "Enter did not close the pulse dialog"
press "$main" Return
sleep 36
previous=-1
for _ in $(seq 30); do
    screen pulse-run.png
    count=$(red_pixels "$out/pulse-run.png" '#0000FF')
    [ "$count" -eq "$previous" ] && [ "$count" -gt 0 ] && break
    previous=$count
    sleep 2
done
echo "run-under-wine: $count blue pixels after the pulse mode's run"
if [ -n "$render" ]; then
    eval "$(xdotool getwindowgeometry --shell "$main")"
    convert "$out/pulse-run.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/client.png"
    "$render" --pulse --source 25 --load 100 --size "${WIDTH}x${HEIGHT}" \
        --png "$out/velmora-render-pulse.png"
    red_mask "$work/client.png" "$work/wine-blue.png" '#0000FF'
    red_mask "$out/velmora-render-pulse.png" "$work/render-blue.png" '#0000FF'
    expected=$(convert "$work/render-blue.png" -format '%[fx:round(mean*w*h)]' info:)
    # GDI's 2-pixel pens lie a pixel to one side of ours along a whole line: a blue pixel of
    # one picture differs only where the other has none within a pixel of it.
    apart() {
        convert "$1" \( "$2" -morphology Dilate Square:1 -negate \) -compose Multiply \
            -composite -format '%[fx:round(mean*w*h)]' info:
    }
    differing=$(($(apart "$work/wine-blue.png" "$work/render-blue.png") +
        $(apart "$work/render-blue.png" "$work/wine-blue.png")))
    allowed=$((expected / 50))
    echo "run-under-wine: $differing blue pixels of one picture lie apart from the other's" \
        "(of $expected, at most $allowed allowed)"
    [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -le "$allowed" ] ||
        fail "the pulse mode's blue lines differ from velmora-render's in $differing pixels"
else
    [ "$count" -ge "$min_red_pixels" ] || fail "only $count blue pixels after the pulse mode's run"
fi
echo "run-under-wine: passed"
