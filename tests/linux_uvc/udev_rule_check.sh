#!/bin/sh
# Every rule of the udev rule file grants the video group, and only for
# devices of vendor a168; both the video nodes and the USB device nodes are
# covered.
set -eu
rules=$(grep -v '^[[:space:]]*\(#\|$\)' "$1")
fail() { echo "udev rule check: $*" >&2; exit 1; }
echo "$rules" | while IFS= read -r line; do
    echo "$line" | grep -q 'ATTRS\?{idVendor}=="a168"' || fail "a rule without vendor a168: $line"
    echo "$line" | grep -q 'GROUP="video"' || fail "a rule without the video group: $line"
done
echo "$rules" | grep -q 'SUBSYSTEM=="video4linux"' || fail "no rule for the video nodes"
echo "$rules" | grep -q 'SUBSYSTEM=="usb"' || fail "no rule for the USB device nodes"
echo "udev rule check: $(echo "$rules" | wc -l) rules, all for vendor a168 and the video group"
