#!/bin/sh
# Our programs never load a library planted in the folder they are started
# from, while the one beside the program loads (under Wine, with the 32-bit
# files). A planted library records being loaded by writing a marker file.
#
#   library_search_wine.sh WINE_RUN WINE_STATE PROBE SMIUTILITY_DLL PLANTED_DLL
set -eu
wine_run=$1 wine_state=$2 probe=$3 smi=$4 planted=$5
work=$(mktemp -d)
prefix=$("$wine_run" "$wine_state" --new-prefix)
trap '"$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$work/program" "$work/start"
cp "$probe" "$work/program/probe.exe"
cp "$smi" "$work/program/SMIUtility.dll"
cp "$planted" "$work/start/SMIUtility.dll"
marker="$work/start/kv-planted-loaded.txt"

# load LIBRARY ENTRY-POINT: the probe, started from the folder with the
# planted library; what it printed, line ends made Unix.
load() {
    (cd "$work/start" && KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$work/program/probe.exe" --load "$@") |
        tr -d '\r' || true
}

out=$(load SMIUtility.dll SMI_CreateDeviceObject)
[ "$out" = "SMIUtility.dll: loaded, SMI_CreateDeviceObject found" ] || fail "beside the program: '$out'"
[ ! -e "$marker" ] || fail "the planted SMIUtility.dll was loaded"

# With none beside the program, the planted one is still not taken.
rm "$work/program/SMIUtility.dll"
out=$(load SMIUtility.dll SMI_CreateDeviceObject)
[ "$out" = "SMIUtility.dll: not loaded" ] || fail "none beside the program: '$out'"
[ ! -e "$marker" ] || fail "the planted SMIUtility.dll was loaded from the current folder"

# The marker works: the same library beside the program does load.
cp "$planted" "$work/program/Planted.dll"
out=$(load Planted.dll DllMain)
[ "$out" = "Planted.dll: loaded, DllMain missing" ] || fail "control load: '$out'"
[ -e "$marker" ] || fail "the planted library leaves no marker even when it loads: the test proves nothing"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "library search as expected: the program's folder, never the current one"
