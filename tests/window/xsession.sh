# Shell functions for driving the desktop program on a private X server, as a user would.
# Sourced by the window test and by bench/window_cpu.sh; needs bash, Xvfb and xdotool.

# The client area of the main window for its outer size of 1000 x 700.
readonly MAIN_CLIENT_SIZE=992x666

# Starts Xvfb on a display number it picks itself and points DISPLAY at it. Returns 1 when Xvfb
# is not installed.
start_xvfb() {
    command -v Xvfb >/dev/null || return 1
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
    XVFB_PID=$!
    local tries=0
    while [ ! -s "$number_file" ]; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null || [ $((tries += 1)) -gt 100 ]; then
            echo "Xvfb did not start" >&2
            rm -f "$number_file"
            return 2
        fi
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$number_file")"
    rm -f "$number_file"
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
    local load=$1 box dialog
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
    type_text "$dialog" "$load"
    press "$dialog" Return
    poll 10 is_gone "$dialog" || { echo "ENTER did not close the load dialog" >&2; return 1; }
    press "$MAIN" Return
}
