# The shared steps of the benchmarks that measure the desktop program on a private X server: a
# work folder, an exit trap that ends the program $velmora_pid and our X server and removes the
# folder, and the clocks. Sourced after tests/window/xsession.sh.
work=$(mktemp -d)
velmora_pid=
cleanup() {
    [ -z "$velmora_pid" ] || kill "$velmora_pid" 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

ticks_per_second=$(getconf CLK_TCK)
now() { date +%s.%N; }
# User plus system time of the program so far, in seconds.
cpu_seconds() { awk -v hz="$ticks_per_second" '{ print ($14 + $15) / hz }' "/proc/$velmora_pid/stat"; }
