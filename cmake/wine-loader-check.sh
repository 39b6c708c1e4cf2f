#!/bin/sh
# Shows that Wine starts this tree's programs: the probe must print the
# pointer size of the tree's architecture. Fails loudly, with what to do,
# when it does not (for the 32-bit tree: Wine's 32-bit loader is missing).
#
#   wine-loader-check.sh WINE_RUN WINE_STATE PROBE POINTER_SIZE
set -eu
wine_run=$1 state=$2 probe=$3 size=$4
out=$("$wine_run" "$state" "$probe" 2>/dev/null | tr -d '\r') || true
if [ "$out" = "pointer size $size" ]; then
    echo "Wine runs this tree's programs: $out"
    exit 0
fi
echo "FAIL: Wine did not run this tree's $((size * 8))-bit programs (the probe printed '${out:-nothing}')." >&2
echo "      The Windows tests cannot run. Install Wine's $((size * 8))-bit loader: sh scripts/install-deps.sh" >&2
echo "      (it adds the i386 architecture and wine32:i386)." >&2
exit 1
