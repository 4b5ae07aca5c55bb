#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds no error in it, `apt-get install` puts it
# with what it depends on into a fresh Debian 12 root, and the installed velmora-render draws
# the same picture as the one built here. Needs root (chroot), debootstrap once (the root is
# kept, see debian_root.sh), the network to Debian's mirror, and ImageMagick's compare.
#
# Usage: package_test.sh PACKAGE.deb VELMORA_RENDER
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
package=$(realpath "$1")
render=$2
source "$(dirname "$0")/debian_root.sh"

work=$(mktemp -d /var/tmp/velmora-package-test.XXXXXX)
root=$work/root
trap 'leave_debian_root "$root"; rm -rf "$work"' EXIT

lintian_status=0
lintian --fail-on error "$package" >"$work/lintian.log" 2>&1 || lintian_status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ "$lintian_status" = 0 ] || { echo "FAILED: lintian finds errors"; exit 1; }

make_debian_root "$root"
cp "$package" "$root/tmp/"

in_root() {
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"
}
in_root apt-get update -qq
in_root apt-get install -y -qq "/tmp/$(basename "$package")" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; echo "FAILED: apt-get could not install the package"; exit 1; }
in_root velmora --version >/dev/null || { echo "FAILED: the installed velmora does not start"; exit 1; }
in_root sh -c 'cd /tmp && velmora-render --load 100 --png out.png' ||
    { echo "FAILED: the installed velmora-render did not draw"; exit 1; }

"$render" --load 100 --png "$work/expected.png"
differing=$(compare -metric AE "$root/tmp/out.png" "$work/expected.png" null: 2>&1) || true
[ "$differing" = 0 ] || { echo "FAILED: the installed velmora-render's picture differs in $differing pixels"; exit 1; }
echo "Installed into a fresh Debian 12 root; its velmora-render draws the expected picture"
