#!/usr/bin/env bash
# A plain Release build, configured as a packager or a distribution configures it
#     cmake -S . -B DIR -DCMAKE_BUILD_TYPE=Release
# must compile and link everything as the default preset's build does but for -Werror, which
# belongs to our own builds. The default build, built and tested, then stands for it, and CI
# does not build everything twice.
#
# Usage: plain_build_test.sh DEFAULT_BUILD_DIR PLAIN_BUILD_DIR
set -euo pipefail
default=$(realpath "$1")
plain=$(realpath -m "$2")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

cmake -S "$source_dir" -B "$plain" -DCMAKE_BUILD_TYPE=Release >/dev/null

# Every target's compile and link flags, with the build folder's own name taken out. Only the
# targets of the build's present configuration count: a folder may keep those of targets that
# have moved or gone since.
flags_of() {
    sed "s|^$1/||" "$1/CMakeFiles/TargetDirectories.txt" | sort |
        while read -r target; do
            cat "$1/$target/flags.make" "$1/$target/link.txt" 2>/dev/null || true
        done | grep -v '^#' | sed "s|$1|BUILD|g"
}
if ! diff <(flags_of "$default" | sed 's/ -Werror//') <(flags_of "$plain"); then
    echo "FAILED: the plain Release build differs from the default one by more than -Werror" \
        "(above: < default, > plain)"
    exit 1
fi
echo "The plain Release build is the default build without -Werror"
