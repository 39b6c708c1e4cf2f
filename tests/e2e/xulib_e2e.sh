#!/bin/sh
# The register library end to end against the simulated rig, on the host or
# under Wine: xulib_Open finds a plug-in camera (through the node plug-in)
# and an Aveo camera; register and I2C transfers land in the rig; two
# processes hammering one camera never interleave their sequences; a hanging
# Aveo unit fails in about 500 ms; a sensor that does not acknowledge fails
# the transfer on both kinds.
#
#   xulib_e2e.sh host PROBE KVSIM
#   xulib_e2e.sh wine PROBE KVSIM WINE_RUN WINE_STATE DELIVERABLES_DIR
set -eu
mode=$1 probe=$2 kvsim=$3
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ "$mode" = wine ]; then
    wine_run=$4 wine_state=$5 deliverables=$6
    prefix=$("$wine_run" "$wine_state" --new-prefix)
    trap '"$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
    # The probe beside the plug-in, as KV_DS_Ctrl is installed: opening the
    # library registers the zelunit.dll of the program's folder.
    folder="$prefix/drive_c/KorvexCamera"
    mkdir "$folder"
    cp "$deliverables"/* "$probe" "$folder/"
    probe="$folder/$(basename "$probe")"
    run() { KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$@" | tr -d '\r'; }
    install_rig() { run "$kvsim" --rig "$1" install >/dev/null; }
    unset KV_SIM_RIG
else
    trap 'rm -rf "$work"' EXIT
    # The library's named mutex is a file in $TMPDIR, one per machine: this
    # test is a machine of its own, so that tests run side by side never
    # wait on each other's transfers.
    export TMPDIR="$work"
    run() { "$@"; }
    install_rig() { export KV_SIM_RIG="$1"; }
fi

# A plug-in camera (index 0) and an Aveo camera (index 1), sensor 0x78 on
# port 2 of both.
sensor='"0x78": {"port": 2, "registers": {"0x3503": "0xB1"}}'
cat >"$work/rig.json" <<RIG
{"devices": [
  {"friendlyName": "Plug-in camera", "productId": "0x0902", "interface": 0, "instance": "6&aa&0&0000",
   "extensionUnits": {"plugin": {"node": 2}}, "registers": {"0x0005": "0x03", "0x0006": "0x43"},
   "i2cDevices": {$sensor}},
  {"friendlyName": "Aveo camera", "productId": "0x0922", "interface": 0, "instance": "6&bb&0&0000",
   "extensionUnits": {"aveo": {"node": 2}}, "registers": {"0x0006": "0x43"}, "i2cDevices": {$sensor}}
]}
RIG
install_rig "$work/rig.json"
dump() { run "$kvsim" --rig "$work/rig.json" dump; }

run "$probe" open regwrite 0 0x30 1 0x12 regread 0 0x30 1 regwrite 1 0x30 1 0x34 regread 1 0x30 1 \
    port 0 2 0 i2cwrite 0 0x78 3503 07 i2cread 0 0x78 3503 1 port 1 2 0 i2cwrite 1 0x78 3503 09 i2cread 1 0x78 3503 1 \
    >"$work/open.txt" || fail "probe: $(cat "$work/open.txt")"
for line in "open 1" "regread 0 0x30 = 0x12" "regread 1 0x30 = 0x34" "i2cread 0 0x78 = 07" "i2cread 1 0x78 = 09"; do
    grep -qx "$line" "$work/open.txt" || fail "expected '$line': $(cat "$work/open.txt")"
done
dump >"$work/dump.json"
python3 - "$work/dump.json" <<'PY' || fail "the transfers are not in the rig's state"
import json, sys
devices = json.load(open(sys.argv[1]))["devices"]
assert devices[0]["registers"]["0x0030"] == 0x12 and devices[1]["registers"]["0x0030"] == 0x34, devices
assert devices[0]["i2cDevices"]["0x78"]["registers"]["0x3503"] == 7
assert devices[1]["i2cDevices"]["0x78"]["registers"]["0x3503"] == 9
PY

# Two processes on one camera at once, for each kind. An operation may time
# out (it then goes on alone under the mutex): the library waits 500 ms for
# it, while its worker may wait up to 1000 ms for the mutex that the other
# process holds, so on a loaded machine any share of them may fail. The test
# is that no sequence is ever cut into, and that each process got some
# operations through, so that the trace holds sequences of all four.
run "$kvsim" --rig "$work/rig.json" reset
for device in 0 1; do
    run "$probe" open hammer "$device" 2000 >>"$work/hammer.txt" &
    run "$probe" open hammer "$device" 2000 >>"$work/hammer.txt" &
    wait
done
python3 - "$work/hammer.txt" <<'PY' || fail "hammering: $(cat "$work/hammer.txt")"
import re, sys
runs = [tuple(map(int, m)) for m in re.findall(r"hammer \d+: (\d+) operations, (\d+) failed", open(sys.argv[1]).read())]
assert len(runs) == 4 and all(ops >= 2 and failed < ops for ops, failed in runs), runs
PY
run "$kvsim" --rig "$work/rig.json" trace >"$work/trace.jsonl"
python3 - "$work/trace.jsonl" <<'PY' || fail "sequences of two processes interleaved"
import json, sys
lines = [json.loads(l) for l in open(sys.argv[1]) if l.strip()]
processes = {l["process"] for l in lines}
assert len(processes) >= 4, processes
# From an operation's first request to its last, every request on that
# camera is the operation's own: plug-in sequences run from a length other
# than 1 to the closing length 1, Aveo register reads from the select to
# the get.
for camera in (0, 1):
    requests = [l for l in lines if l["camera"] == camera and l["op"] in ("set", "get")]
    owner = None
    for r in requests:
        if owner is not None and r["process"] != owner:
            raise SystemExit(f"camera {camera}: request {r['seq']} of process {r['process']} inside an operation of {owner}")
        data = r.get("data", "")
        if r["path"] == "plugin-xu" and r["id"] == 1:
            owner = None if data == "01" else r["process"]
        elif r["path"] == "aveo-xu":
            owner = r["process"] if r["op"] == "set" and data.startswith("01 ") else None
print(f"{len(lines)} requests of {len(processes)} processes, no operation interleaved")
PY

# An Aveo unit whose sets hang 800 ms, and sensors that do not acknowledge.
cat >"$work/faults.json" <<'RIG'
{"devices": [
  {"friendlyName": "Silent plug-in camera", "productId": "0x0870", "interface": 0, "instance": "6&cc&0&0000",
   "extensionUnits": {"plugin": {"node": 2}}, "i2cDevices": {"0x48": {"acknowledge": false}}},
  {"friendlyName": "Silent Aveo camera", "productId": "0x0922", "interface": 0, "instance": "6&dd&0&0000",
   "extensionUnits": {"aveo": {"node": 2}}, "i2cDevices": {"0x78": {"acknowledge": false}}},
  {"friendlyName": "Slow Aveo camera", "productId": "0x0990", "interface": 0, "instance": "6&ee&0&0000",
   "extensionUnits": {"aveo": {"node": 2}}, "faults": [{"path": "aveo-xu", "op": "set", "effect": "hang", "ms": 800}]}
]}
RIG
install_rig "$work/faults.json"
run "$probe" open i2cwrite 0 0x48 0380 01 i2cwrite 1 0x78 3503 01 regread 2 0x30 1 >"$work/faults.txt" || true
grep -qx "open 1" "$work/faults.txt" || fail "faults rig: $(cat "$work/faults.txt")"
grep -q "^i2cwrite 0 0x48 failed" "$work/faults.txt" || fail "plug-in: a silent sensor did not fail the transfer"
grep -q "^i2cwrite 1 0x78 failed" "$work/faults.txt" || fail "Aveo: a silent sensor did not fail the transfer"
waited=$(sed -n 's/^regread 2 0x30 failed after \([0-9]*\) ms$/\1/p' "$work/faults.txt")
[ -n "$waited" ] && [ "$waited" -ge 450 ] && [ "$waited" -lt 790 ] ||
    fail "a hanging Aveo unit: $(grep regread "$work/faults.txt")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "register library end to end as expected ($mode)"
