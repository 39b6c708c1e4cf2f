#!/bin/sh
# The setup program under Wine: a silent install into a fresh prefix puts the
# deliverables (and only they, with the uninstaller) into the 32-bit Program
# Files folder, registers the plug-in (class, type library, node interface,
# the vendor key's version) and writes the uninstall entry; the installed
# KV_DS_Ctrl.exe, run from its folder against a rig, gets the plug-in for its
# camera without registering it again; installing over it keeps Setting.ini;
# a silent uninstall removes files, keys (but the vendor key) and entry and
# keeps Setting.ini; /D= picks the folder; /REMOVESETTINGS removes it all.
# The Start-menu shortcut is checked when the windowed program is shipped.
# A setup whose plug-in cannot be registered (made here from the same script,
# with a library without DllRegisterServer as zelunit.dll) fails, and what it
# installed can be removed.
# The setup makes an empty Setting.ini and grants the Users group (by SID)
# modify rights on it through the system's icacls.exe, here a stand-in that
# records its command line (Wine's own does nothing). It records the vendor
# values machine-wide too: with the user's vendor key deleted, the installed
# program still gets its plug-in camera without registering again. A folder
# named in Greek and Japanese letters with a blank works the same way. With
# the windowed program running from the folder (on the virtual X server), the
# setup closes it and installs; with KV_DS_Ctrl.exe held running, the setup
# and the uninstaller stop with status 4 and leave the folder as it was.
#
#   xvfb-run -a setup_wine_e2e.sh WINE_RUN WINE_STATE SETUP_EXE FILE_LIST KVSIM
#       XULIB_PROBE MAKENSIS SCRIPT DELIVERABLES_NSH VERSION NOT_A_PLUGIN_DLL
#       RECORDER GUI_DRIVER
set -eu
wine_run=$1 wine_state=$2 setup=$3 file_list=$4 kvsim=$5 probe=$6
makensis=$7 script=$8 deliverables_nsh=$9
shift 9
version_text=$1 not_a_plugin=$2 recorder=$3 driver=$4
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY (run under xvfb-run -a)"; exit 1; }
display=$DISPLAY
# The folder names below are UTF-8; Wine reads the command line in the
# locale's character set.
export LC_ALL=C.UTF-8
work=$(mktemp -d)
prefix=$("$wine_run" "$wine_state" --new-prefix)
trap '"$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
. "$(dirname "$0")/wine_registry.sh"

# run PROGRAM ARGS...: its exit status in $status, its output in out.txt.
run() {
    set +e
    KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$@" >"$work/out.txt" 2>&1
    status=$?
    set -e
}
# The uninstaller hands over to a copy of itself and returns: wait until
# every process of the prefix has ended.
uninstall() {
    run "$@"
    WINEPREFIX="$prefix" wineserver -w
}

# ctrl_with_trace DIR PROGRAM: the installed console program, started from
# DIR, switches the rig's LEDs; the loader's trace goes to ctrl.txt.
ctrl_with_trace() {
    set +e
    (cd "$1" && WINEPREFIX="$prefix" WINEDEBUG=+loaddll "$("$wine_run" "$wine_state" --loader)" \
        "$2" LED on >"$work/ctrl.txt" 2>&1)
    set -e
}
# probe_through_plugin DIR WIN LABEL: the register library of the same build,
# beside the installed files, reaches the camera's registers through the
# installed plug-in.
probe_through_plugin() {
    cp "$probe" "$1/probe.exe"
    (cd "$1" && KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$2\\probe.exe" open regwrite 0 0x30 1 0x12 \
        regread 0 0x30 1 | tr -d '\r' >"$work/probe.txt") || true
    rm "$1/probe.exe"
    grep -qx 'open 1' "$work/probe.txt" && grep -qx 'regread 0 0x30 = 0x12' "$work/probe.txt" ||
        fail "$3: the plug-in camera through the installed plug-in: $(cat "$work/probe.txt")"
}

c="$prefix/drive_c"
# The 32-bit setup installs into the 32-bit Program Files folder; a 64-bit
# test tree's setup (KV_PROGRAM_FILES) into the native one.
program_files=${KV_PROGRAM_FILES:-Program Files (x86)}
folder="$c/$program_files/Korvex/Camera Control"
win="C:\\$program_files\\Korvex\\Camera Control"
# How the loader's trace names the installed plug-in.
loaded_plugin="Loaded L\"C:\\\\$program_files\\\\Korvex\\\\Camera Control\\\\zelunit.dll\""
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvexCameraControl'
vendor='HKCU\Software\Zelmar\UVC Extension Control'
machine_vendor='HKLM\Software\Zelmar\UVC Extension Control'
class='HKCR\CLSID\{A0432DA0-A887-45F8-B28B-6693C6B9E619}'
typelib='HKCR\TypeLib\{77D86AEC-1F9E-4044-95C5-0F05B382C0F5}'
node='HKLM\SYSTEM\CurrentControlSet\Control\NodeInterfaces\{5A215226-3289-4156-894A-5C557CDF9664}'
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvex Camera Control.lnk"
plugin_keys="$class HKCR\\Zelunit.ExtensionUnit.1 HKCR\\Zelunit.ExtensionUnit $typelib $node"
gui=0
grep -qx 'KV_GUI_Ctrl.exe' "$file_list" && gui=1

# The system's icacls.exe, as the 32-bit setup and a 64-bit one see it: the
# prefix's files are links to its template's, so they are replaced, never
# written into; and Wine is told to run the file, not its own built-in one.
for system in syswow64 system32; do
    rm -f "$c/windows/$system/icacls.exe"
    cp "$recorder" "$c/windows/$system/icacls.exe"
done
KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" 'C:\windows\system32\reg.exe' add 'HKCU\Software\Wine\DllOverrides' \
    /v icacls.exe /d native /f >/dev/null
grants() { cat "$c/windows/syswow64/commands.txt" "$c/windows/system32/commands.txt" 2>/dev/null | sed 's/^[0-9]* [0-9]* [0-9]* //'; }
# expect_grant FOLDER: the last icacls run granted the Users group modify
# rights on FOLDER's Setting.ini, and on nothing else.
expect_grant() {
    grants | tail -n 1 | grep -qixF "\"C:\\windows\\system32\\icacls.exe\" \"$1\\Setting.ini\" /grant *S-1-5-32-545:(M)" ||
        fail "icacls for $1: $(grants | tail -n 1)"
}

run "$setup" /S
[ "$status" -eq 0 ] || fail "silent install: status $status"
have=$(ls -A "$folder" | sort | tr '\n' ' ')
want=$( (cat "$file_list"; echo Uninstall.exe; echo Setting.ini) | sort | tr '\n' ' ')
[ "$have" = "$want" ] || fail "installed '$have', not '$want'"
[ -f "$folder/Setting.ini" ] && [ ! -s "$folder/Setting.ini" ] || fail "no empty Setting.ini after install"
expect_grant "$win"

for key in $plugin_keys; do reg_has "$key" || fail "install: no $key"; done
[ "$(reg_value "$class\\InprocServer32" "")" = "$win\\zelunit.dll" ] ||
    fail "class server: '$(reg_value "$class\\InprocServer32" "")'"
[ "$(reg_value "$node" CLSID)" = A02D43A087A8F845B28B6693C6B9E619 ] || fail "node interface: '$(reg_value "$node" CLSID)'"
version=$(reg_value "$vendor" "Version Number")
[ -n "$version" ] && [ $((version)) -ge $((0x1001)) ] || fail "vendor version '$version'"
[ "$(reg_value "$vendor" "FileName Path")" = "$win\\zelunit.dll" ] ||
    fail "vendor file '$(reg_value "$vendor" "FileName Path")'"
[ "$(reg_value "$machine_vendor" "Version Number")" = 0x1001 ] ||
    fail "machine vendor version '$(reg_value "$machine_vendor" "Version Number")'"
[ "$(reg_value "$machine_vendor" "FileName Path")" = "$win\\zelunit.dll" ] ||
    fail "machine vendor file '$(reg_value "$machine_vendor" "FileName Path")'"

[ "$(reg_value "$entry" DisplayName)" = "Korvex Camera Control" ] || fail "entry name '$(reg_value "$entry" DisplayName)'"
[ "$(reg_value "$entry" DisplayVersion)" = 1.14.0.0 ] || fail "entry version '$(reg_value "$entry" DisplayVersion)'"
[ "$(reg_value "$entry" Publisher)" = Korvex ] || fail "entry publisher '$(reg_value "$entry" Publisher)'"
[ "$(reg_value "$entry" InstallLocation)" = "$win" ] || fail "entry folder '$(reg_value "$entry" InstallLocation)'"
[ "$(reg_value "$entry" UninstallString)" = "\"$win\\Uninstall.exe\"" ] ||
    fail "entry uninstaller '$(reg_value "$entry" UninstallString)'"
# In KiB, about what the folder holds.
size=$(reg_value "$entry" EstimatedSize)
kib=$(du -sk "$folder" | cut -f1)
[ -n "$size" ] && [ $((size)) -gt $((kib / 2)) ] && [ $((size)) -lt $((kib * 2)) ] ||
    fail "entry size '$size' for $kib KiB"

if [ "$gui" -eq 1 ]; then
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    python3 - "$shortcut" <<'PY' || fail "the shortcut does not start KV_GUI_Ctrl.exe"
import sys
data = open(sys.argv[1], "rb").read().lower()
name = "kv_gui_ctrl.exe"
assert name.encode() in data or name.encode("utf-16-le") in data
PY
else
    [ ! -e "$shortcut" ] || fail "a shortcut without the windowed program"
fi

# The installed console program against a plug-in camera: its check passes
# (the version stays), and the camera's node gets the installed plug-in.
cat >"$work/rig.json" <<'RIG'
{"devices": [
  {"friendlyName": "Plug-in camera", "productId": "0x0902", "interface": 0, "instance": "6&aa&0&0000",
   "extensionUnits": {"plugin": {"node": 2}}}
]}
RIG
run "$kvsim" --rig "$work/rig.json" install
[ "$status" -eq 0 ] || fail "kvsim install: $(cat "$work/out.txt")"
ctrl_with_trace "$folder" "$win\\KV_DS_Ctrl.exe"
grep -qF "$loaded_plugin" "$work/ctrl.txt" ||
    fail "KV_DS_Ctrl's camera did not get the installed plug-in: $(grep -i zelunit "$work/ctrl.txt")"
[ "$(reg_value "$vendor" "Version Number")" = "$version" ] || fail "KV_DS_Ctrl registered the plug-in again"
probe_through_plugin "$folder" "$win" "$win"

# Another user of the machine, or a fresh profile: no vendor key of their
# own. The machine-wide values let the check pass, so the program neither
# registers the plug-in (that would write the user's version) nor starts the
# installer (which would too), and its camera still gets the plug-in.
KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" 'C:\windows\system32\reg.exe' delete 'HKCU\Software\Zelmar' /f \
    "$reg_view" >/dev/null 2>&1 || fail "could not delete the user's vendor key"
ctrl_with_trace "$folder" "$win\\KV_DS_Ctrl.exe"
grep -qF "$loaded_plugin" "$work/ctrl.txt" ||
    fail "a fresh user's camera did not get the installed plug-in"
[ -z "$(reg_value "$vendor" "Version Number")" ] || fail "a fresh user's first open registered the plug-in again"

# The windowed program running from the folder: the setup asks it to close,
# then installs.
if [ "$gui" -eq 1 ]; then
    # The prefix's desktop was made headless: it starts again on the display.
    WINEPREFIX="$prefix" wineserver -k
    export KV_WINE_DISPLAY="$display"
    (KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$folder/KV_GUI_Ctrl.exe" >/dev/null 2>&1) &
    gui_pid=$!
    KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$driver" wait 60 >/dev/null ||
        fail "KV_GUI_Ctrl.exe did not come up"
    run "$setup" /S
    [ "$status" -eq 0 ] || fail "install while the windowed program runs: status $status"
    if KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$driver" gone 5 >/dev/null; then
        wait "$gui_pid" || fail "KV_GUI_Ctrl.exe ended with status $? when the setup closed it"
    else
        fail "the setup left KV_GUI_Ctrl.exe running"
        WINEPREFIX="$prefix" wineserver -k
        wait "$gui_pid" || true
    fi
    unset KV_WINE_DISPLAY
    WINEPREFIX="$prefix" wineserver -k
fi

# KV_DS_Ctrl.exe held running from the folder (a stand-in that hangs): the
# setup and the uninstaller wait their bounded time, then stop with status 4
# and change nothing.
cp "$folder/KV_DS_Ctrl.exe" "$work/KV_DS_Ctrl.exe"
cp "$recorder" "$folder/KV_DS_Ctrl.exe"
echo 120000 >"$folder/hang_ms.txt"
(KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$folder/KV_DS_Ctrl.exe" >/dev/null 2>&1) &
held_pid=$!
sleep 3
snapshot() { (cd "$folder" && find . -type f | sort | xargs md5sum); }
before=$(snapshot)
run "$setup" /S
[ "$status" -eq 4 ] || fail "install over a running KV_DS_Ctrl.exe: status $status, not 4"
# In place (_?=, the last argument, unquoted like /D=), so that its status is
# the uninstaller's own.
in_place="_?=$win"
set -f
run "$folder/Uninstall.exe" /S $in_place
set +f
[ "$status" -eq 4 ] || fail "uninstall with a running KV_DS_Ctrl.exe: status $status, not 4"
[ "$(snapshot)" = "$before" ] || fail "a stopped setup or uninstall changed the folder"
reg_has "$entry" || fail "a stopped uninstall removed the entry"
[ "$(reg_value "$machine_vendor" "Version Number")" = 0x1001 ] || fail "a stopped uninstall removed the machine values"
# Ends the stand-in (and nothing else runs in the prefix now).
WINEPREFIX="$prefix" wineserver -k
wait "$held_pid" 2>/dev/null || true
held_pid=""
rm -f "$folder/hang_ms.txt" "$folder/commands.txt"
cp "$work/KV_DS_Ctrl.exe" "$folder/KV_DS_Ctrl.exe"

# Installing over it keeps the saved exposure registers.
printf '[Exposure]\r\nReg0=0x12\r\n' >"$work/Setting.ini"
cp "$work/Setting.ini" "$folder/Setting.ini"
run "$setup" /S
[ "$status" -eq 0 ] || fail "install over: status $status"
cmp -s "$work/Setting.ini" "$folder/Setting.ini" || fail "install over changed Setting.ini"
expect_grant "$win"
[ "$(reg_value "$vendor" "Version Number")" = "$version" ] || fail "install over: vendor version"

uninstall "$folder/Uninstall.exe" /S
[ "$status" -eq 0 ] || fail "silent uninstall: status $status"
[ "$(ls -A "$folder" | tr '\n' ' ')" = "Setting.ini " ] || fail "after uninstall: $(ls -A "$folder" | tr '\n' ' ')"
cmp -s "$work/Setting.ini" "$folder/Setting.ini" || fail "uninstall changed Setting.ini"
for key in $plugin_keys "$entry"; do ! reg_has "$key" || fail "uninstall left $key"; done
[ ! -e "$shortcut" ] || fail "uninstall left the shortcut"
reg_has "$vendor" || fail "uninstall removed the vendor key"
[ -z "$(reg_value "$vendor" "Version Number")" ] || fail "uninstall left the vendor version"
! reg_has "$machine_vendor" || fail "uninstall left the machine-wide vendor values"

# Another folder; and an uninstall asked to remove the settings too.
custom="$c/Custom Place/Korvex"
# /D= takes the rest of the command line as it is, blanks included, and no
# quotes: Wine joins these two arguments with a blank, quoting neither.
run "$setup" /S '/D=C:\Custom' 'Place\Korvex'
[ "$status" -eq 0 ] || fail "/D= install: status $status"
[ -f "$custom/KV_DS_Ctrl.exe" ] && [ -f "$custom/Install_UvcCtrl.exe" ] || fail "/D=: $(ls -A "$c")"
[ "$(reg_value "$class\\InprocServer32" "")" = 'C:\Custom Place\Korvex\zelunit.dll' ] ||
    fail "/D=: class server '$(reg_value "$class\\InprocServer32" "")'"
cp "$work/Setting.ini" "$custom/Setting.ini"
uninstall "$custom/Uninstall.exe" /S /REMOVESETTINGS
[ ! -e "$custom" ] || fail "/REMOVESETTINGS left $(ls -A "$custom" | tr '\n' ' ')"
[ -d "$c/Custom Place" ] || fail "the uninstaller removed a folder it did not make"

# A folder outside the ANSI code page, with a blank: registration, the check
# and the program starts keep every character, so the installed programs
# reach the plug-in camera and nothing registers a second time.
wide_name='Κάμερα カメラ'
wide="$c/$wide_name/Korvex"
wide_win="C:\\$wide_name\\Korvex"
run "$setup" /S '/D=C:\Κάμερα' 'カメラ\Korvex'
[ "$status" -eq 0 ] || fail "install into $wide_win: status $status"
[ -f "$wide/KV_DS_Ctrl.exe" ] && [ -f "$wide/Setting.ini" ] || fail "$wide_win: $(ls -A "$c")"
expect_grant "$wide_win"
version=$(reg_value "$vendor" "Version Number")
ctrl_with_trace "$wide" "$wide/KV_DS_Ctrl.exe"
grep -q 'Loaded L"C:\\\\.*\\\\Korvex\\\\zelunit.dll"' "$work/ctrl.txt" ||
    fail "$wide_win: KV_DS_Ctrl's camera did not get the installed plug-in: $(grep -i zelunit "$work/ctrl.txt")"
probe_through_plugin "$wide" "$wide_win" "$wide_win"
[ "$version" = 0x1001 ] && [ "$(reg_value "$vendor" "Version Number")" = "$version" ] ||
    fail "$wide_win: the plug-in was registered again (version $version, then $(reg_value "$vendor" "Version Number"))"
uninstall "$wide/Uninstall.exe" /S /REMOVESETTINGS
[ ! -e "$wide" ] || fail "$wide_win: uninstall left $(ls -A "$wide" | tr '\n' ' ')"

# The plug-in cannot be registered: the silent setup says so by its status,
# and its uninstaller still removes everything.
sed "s|^ *File \"[^\"]*/zelunit.dll\"|  File \"/oname=zelunit.dll\" \"$not_a_plugin\"|" "$deliverables_nsh" >"$work/broken.nsh"
grep -q "oname=zelunit.dll" "$work/broken.nsh" || fail "no zelunit.dll in $deliverables_nsh"
"$makensis" ${KV_NSIS_TARGET:+"-XTarget $KV_NSIS_TARGET"} -V1 -DKV_VERSION="$version_text" -DKV_DELIVERABLES="$work/broken.nsh" \
    -DKV_OUTFILE="$work/broken-trial.exe" "$script" || fail "makensis: the broken setup"
rm "$folder/Setting.ini"  # kept by the first uninstall
run "$work/broken-trial.exe" /S
[ "$status" -ne 0 ] || fail "a setup whose plug-in was not registered reported success"
reg_has "$entry" || fail "a failed setup left no uninstall entry"
uninstall "$folder/Uninstall.exe" /S
# Only the mark the stand-in module leaves where it is loaded, and the
# settings file, may stay.
left=$(ls -A "$folder" 2>/dev/null | grep -vx -e 'kv-planted-loaded.txt' -e 'Setting.ini' | tr '\n' ' ' || true)
[ -z "$left" ] || fail "after a failed setup, uninstall left $left"
! reg_has "$entry" || fail "after a failed setup, uninstall left the entry"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "setup program as expected: installs $(tr '\n' ' ' <"$file_list")"
