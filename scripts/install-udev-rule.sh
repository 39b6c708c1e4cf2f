#!/bin/sh
# Installs the udev rule that gives the video group access to Korvex cameras
# (linux_uvc/70-korvex-camera.rules), then has udev apply it to the
# cameras already connected. Run as root: sudo sh scripts/install-udev-rule.sh
set -eu
cd "$(dirname "$0")/.."
rule=linux_uvc/70-korvex-camera.rules
target=/etc/udev/rules.d/70-korvex-camera.rules
if [ "$(id -u)" -ne 0 ]; then
    echo "install-udev-rule: run as root (sudo sh scripts/install-udev-rule.sh)" >&2
    exit 1
fi
install -m 0644 "$rule" "$target"
udevadm control --reload
udevadm trigger --subsystem-match=video4linux --subsystem-match=usb --attr-match=idVendor=a168
echo "install-udev-rule: $target installed; members of the video group can now open Korvex cameras"
echo "(add yourself with: sudo usermod -aG video \"\$USER\", then log in again)"
