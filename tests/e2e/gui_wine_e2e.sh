#!/bin/sh
# KV_GUI_Ctrl end to end under Wine on a virtual X server, the shipped 32-bit
# program operated through window messages by gui_driver.exe against the demo
# rig installed in the prefix:
#  - installed under "C:\Program Files\Korvex Recorded" with a stand-in
#    KV_DS_Ctrl.exe that records its command lines: the list shows the rig's
#    Korvex cameras in order; each action starts the documented command lines,
#    in their order, with its wait rule; a C:\Program.exe planted beside
#    "Program Files" never runs; the window keeps answering while a waited
#    command hangs (the longest answer is written to
#    ARTEFACTS/responsiveness.txt); clicks while an action waits run after it,
#    and the action keeps its camera; the tray icon restores, maximises and
#    minimises the window, comes back after a shell restart, and "Close(&C)"
#    removes it; the window's picture goes to ARTEFACTS/KV_GUI_Ctrl.png.
#  - installed with the real KV_DS_Ctrl.exe: the commands it starts reach the
#    rig (kvsim dump), on the chosen camera (kvsim trace).
#
#   xvfb-run -a gui_wine_e2e.sh WINE_RUN WINE_STATE KVSIM DELIVERABLES STANDINS RIGS DRIVER RECORDER ARTEFACTS
set -eu
wine_run=$1 wine_state=$2 kvsim_exe=$3 deliverables=$4 standins=$5 rigs=$6 driver=$7 recorder=$8 artefacts=$9
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY (run under xvfb-run -a)"; exit 1; }
export KV_WINE_DISPLAY="$DISPLAY"
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
prefix=$("$wine_run" "$wine_state" --new-prefix)
export KV_WINEPREFIX="$prefix"
gui_pid=""
trap '[ -z "$gui_pid" ] || kill "$gui_pid" 2>/dev/null; "$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run() { "$wine_run" "$wine_state" "$@" | tr -d '\r'; }
drive() { run "$driver" "$@"; }
kvsim() { run "$kvsim_exe" --rig "$work/demo.json" "$@"; }

start_gui() {
    run "$1/KV_GUI_Ctrl.exe" >"$work/gui.out" 2>&1 &
    gui_pid=$!
    drive wait 60 >/dev/null || { fail "the form did not come up with the rig's cameras"; exit 1; }
    # The first refresh, a second after start-up, rebuilds the list.
    sleep 2
}

close_gui() {
    handle=$(drive handle)
    [ "$(drive icon "$handle")" = "icon present" ] || fail "no tray icon while the form is up"
    drive menu close
    drive gone 20 >/dev/null || fail "Close(&C) did not unload the form"
    [ "$(drive icon "$handle")" = "icon absent" ] || fail "the tray icon outlived the form"
    wait "$gui_pid" || fail "KV_GUI_Ctrl ended with status $?"
    gui_pid=""
}

cp "$rigs/demo.json" "$work/demo.json"
kvsim install >/dev/null
# There is no window manager on the virtual X server: Wine draws the windows'
# frames and captions itself, so that the screenshot shows them.
run 'C:\windows\system32\reg.exe' add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null

# --- with the recording stand-in, under a path with a blank ---
recorded="$prefix/drive_c/Program Files/Korvex Recorded"
mkdir -p "$recorded"
cp "$deliverables/KV_GUI_Ctrl.exe" "$recorded/"
cp "$recorder" "$recorded/KV_DS_Ctrl.exe"
cp "$recorder" "$prefix/drive_c/Program.exe"
log="$recorded/commands.txt"
: >"$log"
taken=0

# The commands recorded since the previous check, once all are there, in the
# order the GUI started them. The runs an action does not wait for overlap
# and write their lines as they end, so the log's own order is not the start
# order; each line begins with its process's creation time, which is.
expect() {
    want=$(printf '%s\n' "$@" | sed 's/^/C:\\Program Files\\Korvex Recorded\\KV_DS_Ctrl.exe /')
    for _ in $(seq 300); do [ "$(wc -l <"$log")" -ge $((taken + $#)) ] && break; sleep 0.1; done
    have=$(tail -n +$((taken + 1)) "$log" | sort -n -k1,1 -s | sed 's/^[0-9]* [0-9]* [0-9]* //')
    taken=$(wc -l <"$log")
    [ "$have" = "$want" ] || fail "expected: $(echo "$want" | tr '\n' '|') got: $(echo "$have" | tr '\n' '|')"
}

start_gui "$recorded"
rows=$(drive rows | tr '\n' '|')
[ "$rows" = "Korvex Microscope 0840|Korvex Microscope 0870|Korvex Microscope 0990|Korvex Microscope 09B0|Korvex Microscope 0610|Korvex Microscope 0617|Korvex Microscope 0810|" ] ||
    fail "camera rows: $rows"

drive choose 1
drive click optLED1
expect "LED on 1 -CAM2"
drive click optLEDoff
expect "LED off -CAM2"
drive choose 2
drive click optFLC
expect "FLCSwitch 1111 -CAM3" "FLCLevel 6 -CAM3"
drive click cmdFLC2
expect "FLCSwitch 1101 -CAM3"
drive slider HScroll4 0
expect "FLCSwitch 0000 -CAM3"
drive choose 3
drive click optFLC
expect "FLCLevel 13 -CAM4" "FLCSwitch 1111 -CAM4" "FLCLevel 6 -CAM4"
drive slider HScroll5 0
expect "FLCLevel 7 -CAM4"
drive click OptAEOn
expect "ae on -CAM4" "EV 81 -CAM4"
# Waited for: the exposure value starts only after auto exposure has ended.
tail -n 2 "$log" | awk '{ start[NR] = $2; end[NR] = $3; cmd[NR] = $0 }
    END { if (cmd[1] !~ /ae on/ || start[2] < end[1]) exit 1 }' || fail "EV did not wait for ae on: $(tail -n 2 "$log")"
sleep 1.2
drive slider HScroll3 150
expect "EV 150 -CAM4"
drive screenshot 'C:\KV_GUI_Ctrl.bmp' >/dev/null
python3 "$here/bmp_to_png.py" "$prefix/drive_c/KV_GUI_Ctrl.bmp" "$artefacts/KV_GUI_Ctrl.png" || fail "no screenshot"

# A waited command that hangs for 3 s: the window keeps answering.
echo 3000 >"$recorded/hang_ms.txt"
sleep 1.2
drive post-slider HScroll3 160
longest=$(drive responsive 4000)
rm "$recorded/hang_ms.txt"
expect "EV 160 -CAM4"
echo "$longest while a waited KV_DS_Ctrl.exe hung for 3000 ms" | tee "$artefacts/responsiveness.txt"
ms=$(echo "$longest" | sed -n 's/^longest \([0-9]*\) ms$/\1/p')
[ -n "$ms" ] && [ "$ms" -lt 500 ] || fail "the window did not answer for $longest"

# Clicks while "On" waits for a hanging "ae on -CAM4" are held: both of its
# runs go to camera 4, then the choice of row 2 re-sends that camera's
# remembered LED choice, then "LED1" runs for it.
echo 3000 >"$recorded/hang_ms.txt"
drive post-click OptAEOn
sleep 0.5
drive choose 1
drive click optLED1
[ "$(wc -l <"$log")" = "$taken" ] || fail "the clicks did not come while \"ae on\" hung: $(tail -n 1 "$log")"
expect "ae on -CAM4" "EV 160 -CAM4" "LED off -CAM2" "LED on 1 -CAM2"
rm "$recorded/hang_ms.txt"

# A device arrives: the list is read again and no camera is chosen.
drive device-change
drive state | grep -qx 'Combo3 1 -1' || fail "a device change left the choice: $(drive state | grep Combo3)"
[ "$(drive rows | wc -l)" = 7 ] || fail "rows after a device change: $(drive rows | tr '\n' '|')"

# The tray icon and the window state.
drive menu maximize
[ "$(drive window)" = maximised ] || fail "Maximize(&X): $(drive window)"
drive tray left
[ "$(drive window)" = maximised ] || fail "a left click on a maximised window changed it"
drive menu minimize
[ "$(drive window)" = minimised ] || fail "Minimize(&N): $(drive window)"
drive tray left
[ "$(drive window)" = maximised ] || fail "the left click did not restore the maximised window: $(drive window)"
drive tray right
[ "$(drive menu-open)" = "menu open" ] || fail "a right click opened no menu"
[ "$(drive shell-restart "$(drive handle)")" = "icon back" ] || fail "the tray icon did not come back after a shell restart"
close_gui
[ ! -e "$prefix/drive_c/commands.txt" ] || fail "C:\\Program.exe ran: $(cat "$prefix/drive_c/commands.txt")"

# --- with the real KV_DS_Ctrl.exe ---
folder="$prefix/drive_c/KorvexCamera"
mkdir "$folder"
cp "$deliverables"/* "$folder/"
for library in SMIUtility ClientPropertyPageLIB libusbK; do cp "$standins/$library.dll" "$folder/"; done
sensor() { kvsim dump | python3 -c 'import json, sys; print(json.load(sys.stdin)["devices"][0]["i2cDevices"]["0x5D"]["pages"]["0"]["0x01"])'; }
# Requests to the plug-in extension units: KV_DS_Ctrl makes them only when the
# camera it works on is an extension-unit camera (it reopens the register
# library, which probes every camera).
probes() { kvsim trace | grep -c '"plugin-xu"' || true; }
before=$(sensor)
start_gui "$folder"
# "On" waits for both of its runs: the rig is as they left it when the click returns.
drive choose 4
drive click OptAEOn
# KV_DS_Ctrl's black-bar fix reaches the 0x840 camera's sensor on every run.
after=$(sensor)
[ "$before" != 32 ] && [ "$after" = 32 ] || fail "KV_DS_Ctrl did not reach the rig: sensor register 1 $before -> $after"
[ "$(probes)" = 0 ] || fail "row 5 (0610) reached an extension-unit camera: $(probes) probes"
drive choose 1
drive click OptAEOn
[ "$(probes)" -gt 0 ] || fail "row 2 (0870) did not reach the extension-unit camera"
close_gui

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "KV_GUI_Ctrl end to end as expected"
