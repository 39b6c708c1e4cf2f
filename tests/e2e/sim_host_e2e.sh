#!/bin/sh
# The simulated rig end to end on the host: the probe binds a camera of a
# copy of the demo rig through the program's port set (KV_SIM_RIG), writes a
# bridge register through IKsControl, and kvsim shows it in the state and the
# trace; KV_DS_Ctrl enumerates the rig's cameras.
#
#   sim_host_e2e.sh PROBE KVSIM KV_DS_CTRL DEMO_RIG FAULTS_RIG
set -eu
probe=$1 kvsim=$2 program=$3 demo=$4 faults=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The library's named mutex is a file in $TMPDIR, one per machine: this test
# is a machine of its own, so that tests run side by side never wait on each
# other's transfers.
export TMPDIR="$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp "$demo" "$work/rig.json"
export KV_SIM_RIG="$work/rig.json"

"$probe" pid_0840 1006 5a >"$work/probe.txt" || fail "probe: $(cat "$work/probe.txt")"

"$kvsim" dump >"$work/dump.json" || fail "kvsim dump"
grep -q '"0x1006": 90' "$work/dump.json" || fail "register 0x1006 is not 0x5A in the dump"
"$kvsim" trace >"$work/trace.jsonl" || fail "kvsim trace"
grep -q '"camera":0,"path":"bridge-xu","op":"set".*"data":"06 10 5A 00"' "$work/trace.jsonl" ||
    fail "the write is not in the trace: $(cat "$work/trace.jsonl")"

# KV_DS_Ctrl finds the Korvex cameras (it prints nothing when it finds any).
(cd "$(dirname "$program")" && "./$(basename "$program")" LED on >"$work/ctrl.txt") || fail "KV_DS_Ctrl exit status"
[ ! -s "$work/ctrl.txt" ] || fail "KV_DS_Ctrl: $(cat "$work/ctrl.txt")"

"$kvsim" reset || fail "kvsim reset"
"$kvsim" dump | grep -q '"0x1006": 49' || fail "reset did not restore register 0x1006"

# Cameras whose device path is missing or malformed: the run still ends in
# order with status 0, having logged each path it could read (six of the
# seven devices) and the last one as its status.
cp "$faults" "$work/faults.json"
log="$work/Documents/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
(cd "$(dirname "$program")" && KV_SIM_RIG="$work/faults.json" KV_COMMON_DOCUMENTS="$work/Documents" \
    "./$(basename "$program")" LED on /d >"$work/ctrl-faults.txt") || fail "faults: KV_DS_Ctrl exit status"
# The enumeration's lines: those before the first camera binding.
[ "$(sed '/Device_Init->CoInitialize/,$d' "$log" | grep -c 'vid_a168')" -eq 7 ] ||
    fail "faults: device paths in the log: $(cat "$log")"
grep -q 'All Control finished' "$log" || fail "faults: the run did not end in order: $(cat "$log")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all simulated-rig checks passed (host)"
