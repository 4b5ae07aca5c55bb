#!/usr/bin/env bash
# Measures the quick start as a new user meets it: the time from `scripts/run` on a fresh
# Debian 12 root to the program's main window, and how much of it goes to installing and to
# building. The root is a minimal debootstrap of bookworm (made once and kept in
# $VELMORA_CACHE, default /var/cache/velmora); the program shows its window on our own X server.
#
# Usage: bench/quick_start.sh [COMMIT]   (as root; default HEAD; needs debootstrap, Xvfb, xdotool)
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
source tests/window/xsession.sh
source tests/install/debian_root.sh

work=$(mktemp -d /var/tmp/velmora-quick-start.XXXXXX)
root=$work/root
cleanup() {
    leave_debian_root "$root"
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

make_debian_root "$root"
mkdir -p "$root/root/velmora"
git archive "$commit" | tar -x -C "$root/root/velmora"
start_xvfb || { echo "could not start an X server of our own"; exit 2; }

now() { date +%s.%N; }
started=$(now)
# The output of scripts/run, each line after the time it came.
chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin DISPLAY="$DISPLAY" \
    /bin/bash -c 'cd /root/velmora && scripts/run' 2>&1 |
    while IFS= read -r line; do echo "$EPOCHREALTIME $line"; done >"$work/run.log" &
poll 1800 main_window >/dev/null || { cat "$work/run.log"; echo "the main window did not appear"; exit 1; }
shown=$(now)

seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", b - a }'; }
# The build shows its first line once the installation is over.
build_started=$(awk '/Building CXX/ { print $1; exit }' "$work/run.log")
echo "scripts/run at $(git rev-parse --short "$commit") on a fresh Debian 12 root:"
echo "  start to build:       $(seconds "$started" "${build_started:-$started}") s (installing)"
echo "  start to main window: $(seconds "$started" "$shown") s"
