#!/usr/bin/env bash
# The Debian package as a user meets it: lintian, with the pedantic and informational checks,
# finds nothing in it (in particular the programs are hardened and carry no unneeded section),
# its desktop entry passes desktop-file-validate, `apt-get install` puts it with what it depends
# on into a fresh Debian 12 root, and the installed velmora-render draws the same picture as the
# one built here. Needs root (chroot), debootstrap once (the root is kept, see debian_root.sh),
# the network to Debian's mirror, and ImageMagick's compare.
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

lintian -I --pedantic "$package" 2>&1 | grep -v 'running with root privileges' >"$work/lintian.log" ||
    true
if [ -s "$work/lintian.log" ]; then
    cat "$work/lintian.log"
    grep -qE 'hardening-|binary-has-unneeded-section' "$work/lintian.log" &&
        echo "FAILED: the programs are not hardened and stripped as Debian's are"
    echo "FAILED: lintian -I --pedantic finds the tags above"
    exit 1
fi
dpkg-deb -x "$package" "$work/contents"
# Its hints (more than one main category, say) leave the exit status 0: any output fails.
validation=$(desktop-file-validate "$work"/contents/usr/share/applications/*.desktop 2>&1) || true
[ -z "$validation" ] || { echo "$validation"; echo "FAILED: desktop-file-validate finds the above"; exit 1; }
echo "lintian -I --pedantic and desktop-file-validate find nothing"

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
