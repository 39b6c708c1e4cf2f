#!/bin/sh
# What we build names no folder of the build machine: neither the source
# tree nor the build tree appears in any string of the given files (narrow
# or wide, with either kind of slash).
#
#   build_paths.sh SOURCE_DIR BUILD_DIR FILE...
set -eu
source_dir=$1 build_dir=$2
shift 2
failures=0
for file in "$@"; do
    for dir in "$source_dir" "$build_dir"; do
        backslashed=$(printf '%s' "$dir" | tr '/' '\\')
        if { strings -a "$file"; strings -a -el "$file"; } | grep -Fq -e "$dir" -e "$backslashed"; then
            echo "FAIL: $(basename "$file") holds the path $dir: $({ strings -a "$file"; strings -a -el "$file"; } | grep -F -e "$dir" -e "$backslashed" | head -3)"
            failures=$((failures + 1))
        fi
    done
done
[ "$failures" -eq 0 ] || exit 1
echo "no build-machine path in $# file(s)"
