#!/bin/sh
# The simulated rig end to end under Wine: `kvsim install` registers a copy of
# the demo rig in a Wine prefix; the real DirectShow enumerator lists its
# devices in the rig's order; the probe binds one through the program's port
# set and writes a bridge register through IKsControl; kvsim shows the write
# in the state and the trace; KV_DS_Ctrl finds the Korvex cameras. Then the
# rigs without a usable enumerator, and uninstall.
#
#   sim_wine_e2e.sh WINE_RUN WINE_STATE KVSIM PROBE DELIVERABLES_DIR STANDIN_DIR RIGS_DIR
set -eu
wine_run=$1 wine_state=$2 kvsim=$3 probe=$4 deliverables=$5 standins=$6 rigs=$7
work=$(mktemp -d)
prefix=$("$wine_run" "$wine_state" --new-prefix)
trap '"$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The product as a user installs it, with the stand-ins of the outside
# libraries beside it, as the vendors' installers put the real ones. In the
# prefix (C:\KorvexCamera): a random temporary folder name could hold a
# keyword that the program finds in its own path.
folder="$prefix/drive_c/KorvexCamera"
mkdir "$folder"
cp "$deliverables"/* "$folder/"
for library in SMIUtility ClientPropertyPageLIB libusbK; do cp "$standins/$library.dll" "$folder/"; done
program="$folder/KV_DS_Ctrl.exe"

# Every program runs in the one prefix. The stand-ins must find the rig that
# install recorded, so the environment names none.
unset KV_SIM_RIG
# to FILE PROGRAM ARGS...: runs it with its output (line ends made Unix) in
# FILE, keeping its exit status.
to() {
    out=$1
    shift
    set +e
    KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$@" >"$out.raw"
    status=$?
    set -e
    tr -d '\r' <"$out.raw" >"$out"
    return $status
}

cp "$rigs/demo.json" "$work/rig.json"
to "$work/install.txt" "$kvsim" --rig "$work/rig.json" install || fail "install: $(cat "$work/install.txt")"
[ "$(grep -c '^kvsim-device-00[0-7]  ' "$work/install.txt")" -eq 8 ] || fail "install output: $(cat "$work/install.txt")"

# A path text that no device has: the probe lists every device and binds none.
if to "$work/list.txt" "$probe" no-such-device 1006 5a; then fail "the probe bound a device"; fi
pids=$(sed -n 's/^device .*pid_\([0-9a-f]*\).*/\1/p' "$work/list.txt" | tr '\n' ' ')
[ "$pids" = "0840 0870 0990 09b0 0610 0617 0810 6713 " ] || fail "devices listed: $(cat "$work/list.txt")"

to "$work/probe.txt" "$probe" pid_0840 1006 5a || fail "probe: $(cat "$work/probe.txt")"
grep -q '^write 0x00000000 read 0x00000000 value 0x5A$' "$work/probe.txt" || fail "probe: $(cat "$work/probe.txt")"

to "$work/dump.json" "$kvsim" --rig "$work/rig.json" dump || fail "kvsim dump"
grep -q '"0x1006": 90' "$work/dump.json" || fail "register 0x1006 is not 0x5A in the dump"
to "$work/trace.jsonl" "$kvsim" --rig "$work/rig.json" trace || fail "kvsim trace"
grep -q '"camera":0,"path":"bridge-xu","op":"set".*"data":"06 10 5A 00"' "$work/trace.jsonl" ||
    fail "the write is not in the trace: $(cat "$work/trace.jsonl")"

# KV_DS_Ctrl enumerates through the real enumerator and binds kvsimcam.dll's
# filters: it no longer reports a missing camera.
to "$work/ctrl.txt" "$program" LED on || fail "KV_DS_Ctrl exit status"
if grep -q 'None Korvex Plugin!!' "$work/ctrl.txt"; then fail "KV_DS_Ctrl found no camera"; fi

# Cameras whose device path is missing or malformed: the run still ends in
# order with status 0, having logged each path it could read (six of the
# seven devices) and the last one as its status.
cp "$rigs/faults.json" "$work/faults.json"
to "$work/install-faults.txt" "$kvsim" --rig "$work/faults.json" install || fail "install faults"
to "$work/ctrl-faults.txt" "$program" LED on /d || fail "faults: KV_DS_Ctrl exit status"
log="$prefix/drive_c/users/Public/Documents/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
# The enumeration's lines: those before the first camera binding.
[ "$(sed '/Device_Init->CoInitialize/,$d' "$log" | grep -c 'vid_a168')" -eq 7 ] ||
    fail "faults: device paths in the log: $(cat "$log")"
grep -q 'All Control finished' "$log" || fail "faults: the run did not end in order: $(cat "$log")"

# Rigs whose category is empty, or whose enumerator cannot be created.
for rig in empty no-enumerator; do
    cp "$rigs/$rig.json" "$work/$rig.json"
    to "$work/install-$rig.txt" "$kvsim" --rig "$work/$rig.json" install || fail "install $rig"
    if to "$work/probe-$rig.txt" "$probe" pid_0840 1006 5a; then fail "$rig: the probe bound a device"; fi
    grep -q '^device ' "$work/probe-$rig.txt" && fail "$rig: devices listed: $(cat "$work/probe-$rig.txt")"
    to "$work/ctrl-$rig.txt" "$program" LED on || fail "$rig: KV_DS_Ctrl exit status"
    grep -q 'None Korvex Plugin!!' "$work/ctrl-$rig.txt" || fail "$rig: KV_DS_Ctrl: $(cat "$work/ctrl-$rig.txt")"
done

# Uninstall brings the enumerator back, with nothing in the category.
to "$work/uninstall.txt" "$kvsim" --rig "$work/rig.json" uninstall || fail "uninstall"
if to "$work/probe-after.txt" "$probe" pid_0840 1006 5a; then fail "a device is left after uninstall"; fi
grep -q '^device ' "$work/probe-after.txt" && fail "devices left after uninstall: $(cat "$work/probe-after.txt")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all simulated-rig checks passed (Wine)"
