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
#
#   setup_wine_e2e.sh WINE_RUN WINE_STATE SETUP_EXE FILE_LIST KVSIM XULIB_PROBE
#                     MAKENSIS SCRIPT DELIVERABLES_NSH VERSION NOT_A_PLUGIN_DLL
set -eu
wine_run=$1 wine_state=$2 setup=$3 file_list=$4 kvsim=$5 probe=$6
makensis=$7 script=$8 deliverables_nsh=$9
shift 9
version_text=$1 not_a_plugin=$2
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

c="$prefix/drive_c"
folder="$c/Program Files (x86)/Korvex/Camera Control"
win='C:\Program Files (x86)\Korvex\Camera Control'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvexCameraControl'
vendor='HKCU\Software\Zelmar\UVC Extension Control'
class='HKCR\CLSID\{A0432DA0-A887-45F8-B28B-6693C6B9E619}'
typelib='HKCR\TypeLib\{77D86AEC-1F9E-4044-95C5-0F05B382C0F5}'
node='HKLM\SYSTEM\CurrentControlSet\Control\NodeInterfaces\{5A215226-3289-4156-894A-5C557CDF9664}'
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvex Camera Control.lnk"
plugin_keys="$class HKCR\\Zelunit.ExtensionUnit.1 HKCR\\Zelunit.ExtensionUnit $typelib $node"
gui=0
grep -qx 'KV_GUI_Ctrl.exe' "$file_list" && gui=1

run "$setup" /S
[ "$status" -eq 0 ] || fail "silent install: status $status"
have=$(ls -A "$folder" | sort | tr '\n' ' ')
want=$( (cat "$file_list"; echo Uninstall.exe) | sort | tr '\n' ' ')
[ "$have" = "$want" ] || fail "installed '$have', not '$want'"

for key in $plugin_keys; do reg_has "$key" || fail "install: no $key"; done
[ "$(reg_value "$class\\InprocServer32" "")" = "$win\\zelunit.dll" ] ||
    fail "class server: '$(reg_value "$class\\InprocServer32" "")'"
[ "$(reg_value "$node" CLSID)" = A02D43A087A8F845B28B6693C6B9E619 ] || fail "node interface: '$(reg_value "$node" CLSID)'"
version=$(reg_value "$vendor" "Version Number")
[ -n "$version" ] && [ $((version)) -ge $((0x1001)) ] || fail "vendor version '$version'"
[ "$(reg_value "$vendor" "FileName Path")" = "$win\\zelunit.dll" ] ||
    fail "vendor file '$(reg_value "$vendor" "FileName Path")'"

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
set +e
(cd "$folder" && WINEPREFIX="$prefix" WINEDEBUG=+loaddll "$("$wine_run" "$wine_state" --loader)" \
    "$win\\KV_DS_Ctrl.exe" LED on >"$work/ctrl.txt" 2>&1)
set -e
grep -q 'Loaded L"C:\\\\Program Files (x86)\\\\Korvex\\\\Camera Control\\\\zelunit.dll"' "$work/ctrl.txt" ||
    fail "KV_DS_Ctrl's camera did not get the installed plug-in: $(grep -i zelunit "$work/ctrl.txt")"
[ "$(reg_value "$vendor" "Version Number")" = "$version" ] || fail "KV_DS_Ctrl registered the plug-in again"
# The register library of the same build, beside the installed files, reaches
# the camera's registers through that plug-in.
cp "$probe" "$folder/probe.exe"
(cd "$folder" && KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$win\\probe.exe" open regwrite 0 0x30 1 0x12 \
    regread 0 0x30 1 | tr -d '\r' >"$work/probe.txt") || true
rm "$folder/probe.exe"
grep -qx 'open 1' "$work/probe.txt" && grep -qx 'regread 0 0x30 = 0x12' "$work/probe.txt" ||
    fail "the plug-in camera through the installed plug-in: $(cat "$work/probe.txt")"

# Installing over it keeps the saved exposure registers.
printf '[Exposure]\r\nReg0=0x12\r\n' >"$work/Setting.ini"
cp "$work/Setting.ini" "$folder/Setting.ini"
run "$setup" /S
[ "$status" -eq 0 ] || fail "install over: status $status"
cmp -s "$work/Setting.ini" "$folder/Setting.ini" || fail "install over changed Setting.ini"
[ "$(reg_value "$vendor" "Version Number")" = "$version" ] || fail "install over: vendor version"

uninstall "$folder/Uninstall.exe" /S
[ "$status" -eq 0 ] || fail "silent uninstall: status $status"
[ "$(ls -A "$folder" | tr '\n' ' ')" = "Setting.ini " ] || fail "after uninstall: $(ls -A "$folder" | tr '\n' ' ')"
cmp -s "$work/Setting.ini" "$folder/Setting.ini" || fail "uninstall changed Setting.ini"
for key in $plugin_keys "$entry"; do ! reg_has "$key" || fail "uninstall left $key"; done
[ ! -e "$shortcut" ] || fail "uninstall left the shortcut"
reg_has "$vendor" || fail "uninstall removed the vendor key"
[ -z "$(reg_value "$vendor" "Version Number")" ] || fail "uninstall left the vendor version"

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

# The plug-in cannot be registered: the silent setup says so by its status,
# and its uninstaller still removes everything.
sed "s|^ *File \"[^\"]*/zelunit.dll\"|  File \"/oname=zelunit.dll\" \"$not_a_plugin\"|" "$deliverables_nsh" >"$work/broken.nsh"
grep -q "oname=zelunit.dll" "$work/broken.nsh" || fail "no zelunit.dll in $deliverables_nsh"
"$makensis" -V1 -DKV_VERSION="$version_text" -DKV_DELIVERABLES="$work/broken.nsh" \
    -DKV_OUTFILE="$work/broken-trial.exe" "$script" || fail "makensis: the broken setup"
rm "$folder/Setting.ini"  # kept by the first uninstall
run "$work/broken-trial.exe" /S
[ "$status" -ne 0 ] || fail "a setup whose plug-in was not registered reported success"
reg_has "$entry" || fail "a failed setup left no uninstall entry"
uninstall "$folder/Uninstall.exe" /S
# Only the mark the stand-in module leaves where it is loaded may stay.
left=$(ls -A "$folder" 2>/dev/null | grep -vx 'kv-planted-loaded.txt' | tr '\n' ' ' || true)
[ -z "$left" ] || fail "after a failed setup, uninstall left $left"
! reg_has "$entry" || fail "after a failed setup, uninstall left the entry"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "setup program as expected: installs $(tr '\n' ' ' <"$file_list")"
