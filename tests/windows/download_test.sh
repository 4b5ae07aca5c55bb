#!/usr/bin/env bash
# The Windows download as a teacher gets it, read back from the built files: velmora.exe is
# stripped and small, carries its icon at every size Windows shows, the project's version and an
# application manifest; the zip holds it with a read-me in Windows' line ends and the licences.
# Needs wrestool and icotool (icoutils), the MinGW binutils and unzip.
#
# Usage: download_test.sh WINDOWS_BUILD_DIR   (after `cmake --build` and `cpack` in it)
set -euo pipefail
build=$1
exe=$build/bin/velmora.exe
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$build/velmora-$version-windows.zip
# The stripped program with its three modes is some 450 KB, the icon 55 KB of it; unstripped it
# is well over 600 KB.
max_bytes=520000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

size=$(stat -c %s "$exe")
echo "velmora.exe: $size bytes"
[ "$size" -le "$max_bytes" ] || fail "velmora.exe has $size bytes, more than $max_bytes"
i686-w64-mingw32-nm "$exe" 2>&1 | grep -qx '.*: no symbols' || fail "velmora.exe is not stripped"

wrestool -x -t 14 "$exe" -o "$work/velmora.ico" 2>/dev/null || fail "velmora.exe has no icon"
icon_sizes=$(icotool -l "$work/velmora.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\).*/\1/p' |
    sort -n | xargs)
[ "$icon_sizes" = "16 20 24 32 40 48 64 256" ] ||
    fail "the icon's sizes are '$icon_sizes', not 16 20 24 32 40 48 64 256"

# The version resource's strings, name then value, in UTF-16.
wrestool -x --raw -t 16 "$exe" 2>/dev/null | strings -el >"$work/version.txt" || true
for name in FileVersion ProductVersion; do
    value=$(grep -A1 -x "$name" "$work/version.txt" | sed -n 2p)
    [ "$value" = "$version" ] || fail "the version resource's $name is '$value', not $version"
done

wrestool -x --raw -t 24 "$exe" >"$work/manifest.xml" 2>/dev/null || fail "velmora.exe has no manifest"
/usr/bin/python3 - "$work/manifest.xml" "$version.0" <<'PYTHON' || fail "the manifest is not as above"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
def found(what, path):
    hits = root.findall(path)
    print(f"manifest: {what}: {'yes' if hits else 'MISSING'}")
    return bool(hits)
checks = [
    found("version " + sys.argv[2],
          f".//{{urn:schemas-microsoft-com:asm.v1}}assemblyIdentity[@version='{sys.argv[2]}']"),
    found("common controls 6",
          ".//{urn:schemas-microsoft-com:asm.v1}dependentAssembly/"
          "{urn:schemas-microsoft-com:asm.v1}assemblyIdentity"
          "[@name='Microsoft.Windows.Common-Controls'][@version='6.0.0.0']"),
    found("Windows 10 and 11 supported",
          ".//{urn:schemas-microsoft-com:compatibility.v1}supportedOS"
          "[@Id='{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}']"),
]
# Not DPI aware: Windows' display scaling enlarges the picture, which the program does not scale.
for name in ["2005/WindowsSettings}dpiAware", "2016/WindowsSettings}dpiAwareness"]:
    claims = root.findall(f".//{{http://schemas.microsoft.com/SMI/{name}")
    print(f"manifest: {name.split('}')[1]}: {'CLAIMED' if claims else 'not claimed'}")
    checks.append(not claims)
sys.exit(0 if all(checks) else 1)
PYTHON

if [ ! -f "$zip" ]; then
    fail "no $zip (cpack in $build makes it)"
    exit 1
fi
# One folder named after the version, so that unpacking two versions keeps both.
folder=velmora-$version-windows
listing=$(zipinfo -1 "$zip" | sort | xargs)
expected=$(printf "$folder/%s " DejaVu-LICENSE.txt LICENSE.txt README.txt fast_float-LICENSE.txt \
    velmora.exe | xargs)
[ "$listing" = "$expected" ] || fail "the zip holds '$listing', not '$expected'"
unzip -q "$zip" -d "$work/unpacked"
ln -s "$work/unpacked/$folder" "$work/zip"
cmp -s "$work/zip/velmora.exe" "$exe" || fail "the zip's velmora.exe is not the one built"
for text in README.txt LICENSE.txt DejaVu-LICENSE.txt fast_float-LICENSE.txt; do
    # Every line ends in CR LF: no LF without its CR before it.
    if grep -q $'[^\r]$' "$work/zip/$text" || grep -qx '' "$work/zip/$text"; then
        fail "$text has lines without Windows' line end"
    fi
done
for words in "Velmora $version" "MIT licence" ESC F1 "close the window" "display scaling" LICENSE.txt \
    DejaVu-LICENSE.txt fast_float-LICENSE.txt; do
    grep -q "$words" "$work/zip/README.txt" || fail "README.txt does not say '$words'"
done
grep -q "Permission is hereby granted" "$work/zip/LICENSE.txt" || fail "LICENSE.txt is not MIT's"

[ "$failures" -eq 0 ] || exit 1
echo "The Windows download is complete"
