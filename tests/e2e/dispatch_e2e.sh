#!/bin/sh
# KV_DS_Ctrl's dispatch end to end against rigs, on the host or under Wine
# (the shipped 32-bit program with the stand-in libraries beside it): the
# black-bar fix reaches the 0x840 camera's sensor at 0x5D whatever -CAMn
# selects; a -CAMn beyond the table prints one line and sends nothing; a
# camera whose filter lacks IKsControl fails cleanly; without SMIUtility.dll
# the message box is shown once and the run still ends in order (the host's
# ui port writes each message box to standard error; under Wine a relay
# trace of the message-box calls shows them, although without a display
# each returns at once).
#
#   dispatch_e2e.sh host KV_DS_CTRL KVSIM RIGS_DIR
#   dispatch_e2e.sh wine KV_DS_CTRL KVSIM RIGS_DIR WINE_RUN WINE_STATE DELIVERABLES_DIR STANDIN_DIR
set -eu
mode=$1 program=$2 kvsim=$3 rigs=$4
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ "$mode" = wine ]; then
    wine_run=$5 wine_state=$6 deliverables=$7 standins=$8
    prefix=$("$wine_run" "$wine_state" --new-prefix)
    trap '"$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
    # As installed, with the outside libraries beside it (C:\KorvexCamera:
    # a random folder name could hold a keyword the program finds in its path).
    folder="$prefix/drive_c/KorvexCamera"
    mkdir "$folder"
    cp "$deliverables"/* "$folder/"
    for library in SMIUtility ClientPropertyPageLIB libusbK; do cp "$standins/$library.dll" "$folder/"; done
    log="$prefix/drive_c/users/Public/Documents/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
    ctrl() { KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$folder/KV_DS_Ctrl.exe" "$@" | tr -d '\r'; }
    kvsim() { KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$kvsim" --rig "$rig" "$@" | tr -d '\r'; }
    use_rig() { rig=$1; kvsim install >/dev/null; }
    unset KV_SIM_RIG
else
    trap 'rm -rf "$work"' EXIT
    # The library's named mutex is a file in $TMPDIR, one per machine: this
    # test is a machine of its own, so that tests run side by side never
    # wait on each other's transfers.
    export TMPDIR="$work"
    export KV_COMMON_DOCUMENTS="$work/Documents"
    log="$work/Documents/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
    # Started from its folder, so that no folder name lands in its command line.
    ctrl() { (cd "$(dirname "$program")" && "./$(basename "$program")" "$@"); }
    kvsim() { "$kvsim" --rig "$rig" "$@"; }
    use_rig() { rig=$1; export KV_SIM_RIG="$rig"; }
fi

cp "$rigs/demo.json" "$work/demo.json"
use_rig "$work/demo.json"
ctrl LED on -CAM3 >"$work/out.txt" || fail "exit status"
[ ! -s "$work/out.txt" ] || fail "output: $(cat "$work/out.txt")"
kvsim dump >"$work/dump.json"
python3 - "$work/dump.json" <<'PY' || fail "the black-bar fix did not reach the 0x840 sensor"
import json, sys
sensor = json.load(open(sys.argv[1]))["devices"][0]["i2cDevices"]["0x5D"]
# Register 1 (0x31, outside 0x1D-0x1F) rewritten: 0x20, as register 3 holds 0x40C.
assert sensor["pages"]["0"]["0x01"] == 0x20, sensor
PY

ctrl LED on -CAM9 >"$work/out.txt" || fail "-CAM9: exit status"
[ "$(cat "$work/out.txt")" = "-CAM9: there is no camera 9; 7 cameras are connected." ] || fail "-CAM9: $(cat "$work/out.txt")"

cp "$rigs/faults.json" "$work/faults.json"
use_rig "$work/faults.json"
ctrl LED on /d >"$work/out.txt" || fail "faults: exit status"
grep -q 'pKsControl) hr != NOERROR' "$log" || fail "faults: the missing IKsControl is not logged"
grep -q 'All Control finished' "$log" || fail "faults: the run did not end in order"

missing="SMIUtility.dll does not exist or d3dx9_31.dll is not in the same folder."
use_rig "$work/demo.json"
if [ "$mode" = wine ]; then
    rm "$folder/SMIUtility.dll" "$log"
    # Only the message-box calls are traced (the relay channel reads its
    # list from the prefix's registry).
    KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" 'C:\windows\system32\reg.exe' add 'HKCU\Software\Wine\Debug' /v RelayInclude \
        /d 'user32.MessageBoxA;user32.MessageBoxW;user32.MessageBoxExA;user32.MessageBoxExW' /f >/dev/null 2>&1
    KV_WINEDEBUG=+relay KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$folder/KV_DS_Ctrl.exe" LED on -CAM7 /d \
        >"$work/out.txt" 2>"$work/relay.txt" || fail "no SMIUtility: exit status"
    shown=$(grep -c 'Call user32\.MessageBox' "$work/relay.txt" || true)
    named=$(grep -cF "L\"$missing\"" "$work/relay.txt" || true)
else
    rm -f "$log"
    KV_SIM_MISSING_LIBRARIES=SMIUtility.dll ctrl LED on -CAM7 /d >"$work/out.txt" 2>"$work/err.txt" ||
        fail "no SMIUtility: exit status"
    shown=$(grep -cvF "kvsim:" "$work/err.txt" || true)
    named=$(grep -cxF "$missing" "$work/err.txt" || true)
fi
[ "$shown" = 1 ] && [ "$named" = 1 ] || fail "no SMIUtility: $shown message box(es), $named naming the library"
grep -q 'All Control finished' "$log" || fail "no SMIUtility: the run did not end in order: $(cat "$log")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "dispatch end to end as expected ($mode)"
