# Shell functions for driving the desktop program on a private X server, as a user would.
# Sourced by the window tests (the desktop program, and the Windows one under Wine) and by
# bench/window_cpu.sh; needs bash, Xvfb and xdotool.

# The client area of the main window: for its outer size of 1000 x 700 unless a test zooms it.
MAIN_CLIENT_SIZE=${MAIN_CLIENT_SIZE:-992x666}

# The screen of our X server. Its size is an unusual one on purpose: a client that sees it is
# talking to our server and not to another one that answers on the same display number (one
# outside this sandbox, say, reached through the shared abstract socket namespace). A test that
# needs a larger screen sets another unusual size before sourcing this file.
readonly XVFB_SCREEN=${XVFB_SCREEN:-1288x1032}

# Begins a window test: skips it (exit code 77) when one of the tools it can do without is
# missing, fails it when one it needs is, and empties the work folder of earlier pictures and
# logs. Usage: prepare_test "WHAT IS SKIPPED" "TOOLS TO SKIP WITHOUT" "TOOLS NEEDED" WORK_DIR
prepare_test() {
    local skipped=$1 optional=$2 needed=$3 folder=$4 tool
    for tool in $optional; do
        if ! command -v "$tool" >/dev/null; then
            echo "$tool is not installed: $skipped is skipped"
            exit 77
        fi
    done
    for tool in $needed; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/install-deps)"; exit 1; }
    done
    mkdir -p "$folder"
    rm -f "$folder"/*.png "$folder"/*.log
}

# Ends a window test: says why, keeps a picture of the screen in $work and shows the output
# of the programs that logged there ($work/NAME.log).
fail() {
    echo "FAILED: $*"
    import -window root "$work/screen.png" 2>/dev/null && echo "(the screen: $work/screen.png)"
    local log
    for log in "$work"/*.log; do
        if [ -s "$log" ]; then
            echo "--- $(basename "$log" .log)'s output:"
            cat "$log"
        fi
    done
    exit 1
}

# Starts our own X server and points DISPLAY at it. It tries the local sockets on the free
# display numbers from 140 on (clear of the ones people and desktops use), then TCP on the
# loopback, and only settles on a server that a client really reaches. The server's messages go
# to $XVFB_LOG when it is set. Returns 1 when Xvfb is not installed, 2 when no server could be
# reached (what went wrong is on standard error).
start_xvfb() {
    command -v Xvfb >/dev/null || return 1
    command -v xdpyinfo >/dev/null || { echo "xdpyinfo is missing (x11-utils)" >&2; return 2; }
    local number tries=0
    [ -z "${XVFB_LOG:-}" ] || : >"$XVFB_LOG"
    for number in $(free_display_numbers); do
        try_xvfb "$number" ":$number" -nolisten tcp && return 0
        [ $((tries += 1)) -lt 3 ] || break
    done
    number=$(free_display_numbers | head -n 1)
    try_xvfb "$number" "127.0.0.1:$number" -listen tcp -nolisten unix -nolisten local && return 0
    echo "no X server of ours could be reached (its messages: ${XVFB_LOG:-not kept})" >&2
    return 2
}

free_display_numbers() {
    local number
    for number in $(seq 140 199); do
        [ -e "/tmp/.X$number-lock" ] || echo "$number"
    done
}

# Starts Xvfb on display number $1 with the options after $2, and waits up to 10 s until a client
# reaching it as $2 sees our screen. Leaves it running with DISPLAY=$2, or stops it and returns 1.
try_xvfb() {
    local number=$1 display=$2 log=${XVFB_LOG:-/dev/null} waited=0 answer reason
    shift 2
    echo "--- Xvfb :$number $*" >>"$log"
    # -noreset: the server would otherwise reset whenever its last client leaves, and a program
    # connecting just then (while xdotool polls, say) is refused.
    Xvfb ":$number" -screen 0 "${XVFB_SCREEN}x24" -noreset "$@" >>"$log" 2>&1 &
    XVFB_PID=$!
    while [ $((waited += 1)) -le 100 ] && kill -0 "$XVFB_PID" 2>/dev/null; do
        if answer=$(xdpyinfo -display "$display" 2>&1); then
            # Another test's server on the same number answers too, and looks the same: ours
            # is the one whose process id the display's lock file holds.
            if grep -q "dimensions: *$XVFB_SCREEN pixels" <<<"$answer" &&
                [ "$(tr -d ' \n' <"/tmp/.X$number-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
                export DISPLAY=$display
                return 0
            fi
            reason="another X server answers there"
            break
        fi
        reason="a client could not reach it: $(head -n 1 <<<"$answer")"
        sleep 0.1
    done
    kill -0 "$XVFB_PID" 2>/dev/null || reason="Xvfb ended"
    echo "display $display: $reason" >&2
    stop_xvfb
    return 1
}

# An exit trap: ends the program $velmora_pid, also where the test stopped it, and our X server.
end_stopped_program_and_xvfb() {
    [ -z "${velmora_pid:-}" ] || { kill -CONT "$velmora_pid" && kill "$velmora_pid"; } 2>/dev/null
    stop_xvfb
}

# Waits up to $2 seconds until the main window $MAIN equals picture $1, pixel for pixel, or fails
# the test: $3 names what drew the picture, $4 what the program was doing.
wait_until_shown() {
    local expected=$1 drawer=$3 doing=$4 differing=unknown limit=$(($(date +%s) + $2))
    while [ "$(date +%s)" -lt "$limit" ]; do
        kill -0 "$velmora_pid" 2>/dev/null || fail "velmora ended during $doing"
        if import -window "$MAIN" "$work/shown.png" 2>/dev/null; then
            differing=$(compare -metric AE "$work/shown.png" "$expected" null: 2>&1)
            [ "$differing" = 0 ] && return 0
        fi
        sleep 0.5
    done
    compare "$work/shown.png" "$expected" "$work/difference.png" 2>/dev/null
    fail "the window differs from $drawer in $differing pixels" \
        "(see $work/shown.png, $(basename "$expected"), difference.png)"
}

# Presses the main window's close box with the program $send_close: the program $velmora_pid must
# end with exit code 0.
close_with_close_box() {
    local status
    "$send_close" "$MAIN" || fail "could not press the close box"
    poll 10 is_gone "$MAIN" || fail "the close box did not close the window"
    wait "$velmora_pid"
    status=$?
    velmora_pid=
    [ "$status" = 0 ] || fail "velmora ended with exit code $status after the close box"
    echo "the close box ended velmora with exit code 0"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# Runs "$@" every 0.1 s until it succeeds, for at most $1 seconds, and prints what the
# successful run printed.
poll() {
    local limit=$(($(date +%s) + $1)) output
    shift
    until output=$("$@"); do
        [ "$(date +%s)" -lt "$limit" ] || return 1
        sleep 0.1
    done
    [ -z "$output" ] || printf '%s\n' "$output"
}

window_size() {
    xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/^ *Geometry: //p'
}

# Prints the mapped windows whose title is exactly $1, one id a line.
windows_titled() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

# Prints the main window: the one titled Velmora with the client area of the main window.
main_window() {
    local id
    for id in $(windows_titled Velmora); do
        if [ "$(window_size "$id")" = "$MAIN_CLIENT_SIZE" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# Prints a mapped window titled $1 that is not the main window and not $2.
other_window() {
    local id
    for id in $(windows_titled "$1"); do
        if [ "$id" != "${2:-}" ] && [ "$(window_size "$id")" != "$MAIN_CLIENT_SIZE" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

is_mapped() {
    xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"
}

is_gone() { ! is_mapped "$1"; }

# Gives window $1 the keyboard focus (there is no window manager) and types the keys that follow.
press() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" key --delay 50 "$@"
}

type_text() {
    xdotool windowfocus --sync "$1" type --delay 50 "$2"
}

# Confirms the two introductory message boxes, answers the load dialog with $1 and presses
# ENTER in the main window to start the animation. Sets MAIN to the main window.
start_animation() {
    answer_startup "$1" && press "$MAIN" Return
}

# Confirms the two introductory message boxes and answers the load dialog with $1. Sets MAIN to
# the main window.
answer_startup() {
    local typed_load=$1 box dialog
    MAIN=$(poll 30 main_window) || { echo "the main window did not appear" >&2; return 1; }
    box=$(poll 30 other_window Velmora) ||
        { echo "the first message box did not appear" >&2; return 1; }
    press "$box" Return
    poll 10 is_gone "$box" || { echo "ENTER did not close the first message box" >&2; return 1; }
    local first=$box
    box=$(poll 30 other_window Velmora "$first") ||
        { echo "the second message box did not appear" >&2; return 1; }
    press "$box" Return
    poll 10 is_gone "$box" || { echo "ENTER did not close the second message box" >&2; return 1; }
    dialog=$(poll 30 other_window "Load value") ||
        { echo "the load dialog did not appear" >&2; return 1; }
    type_text "$dialog" "$typed_load"
    press "$dialog" Return
    poll 10 is_gone "$dialog" || { echo "ENTER did not close the load dialog" >&2; return 1; }
}
