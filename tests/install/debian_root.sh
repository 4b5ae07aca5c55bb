# Shell functions for a fresh Debian 12 root to install into, as a new machine would be. Sourced
# by the package test and bench/quick_start.sh; needs root and debootstrap. The minimal
# debootstrap of bookworm is made once and kept as a tarball in $VELMORA_CACHE (default
# /var/cache/velmora), so that later runs on the same machine start from a copy of it.

readonly DEBIAN_MIRROR=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Makes a fresh root at $1 with /proc mounted and the host's name resolution.
make_debian_root() {
    local root=$1 cache=${VELMORA_CACHE:-/var/cache/velmora}
    local tarball=$cache/bookworm-minbase.tar
    if [ ! -s "$tarball" ]; then
        echo "Making a minimal Debian 12 root with debootstrap (kept in $tarball)"
        mkdir -p "$cache"
        local fresh
        fresh=$(mktemp -d "$cache/debootstrap.XXXXXX")
        debootstrap --variant=minbase bookworm "$fresh" "$DEBIAN_MIRROR" >"$fresh.log" 2>&1 ||
            { tail -n 20 "$fresh.log" >&2; rm -rf "$fresh" "$fresh.log"; return 1; }
        tar -C "$fresh" -cf "$tarball.part" . && mv "$tarball.part" "$tarball"
        rm -rf "$fresh" "$fresh.log"
    fi
    mkdir -p "$root"
    tar -C "$root" -xf "$tarball"
    cp -L /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
}

# Ends the programs still running in the root at $1 and unmounts its /proc.
leave_debian_root() {
    local root process
    root=$(realpath "$1" 2>/dev/null) || return 0
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" != "$root" ] || kill "${process#/proc/}" 2>/dev/null
    done
    umount -l "$root/proc" 2>/dev/null || true
}
