#!/bin/sh
# Install_UvcCtrl.exe under Wine (the shipped 32-bit files): once it has run,
# KV_DS_Ctrl's installation check passes and registers nothing again, while
# the plug-in camera is still bound through the registration; it registers
# the zelunit.dll of its own folder whatever folder it is started from, and
# never one planted in that folder; /u undoes the registration but keeps the
# vendor key; failures end with a nonzero status.
#
#   install_uvcctrl_wine.sh WINE_RUN WINE_STATE DELIVERABLES_DIR KVSIM PLANTED_DLL
set -eu
wine_run=$1 wine_state=$2 deliverables=$3 kvsim=$4 planted=$5
work=$(mktemp -d)
prefix=$("$wine_run" "$wine_state" --new-prefix)
trap '"$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
. "$(dirname "$0")/wine_registry.sh"

# from DIR PROGRAM ARGS...: runs it with DIR as its current folder; its exit
# status in $status.
from() {
    dir=$1
    shift
    set +e
    (cd "$dir" && KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "$@" >"$work/out.txt" 2>&1)
    status=$?
    set -e
}
vendor='HKCU\Software\Zelmar\UVC Extension Control'
class='HKCR\CLSID\{A0432DA0-A887-45F8-B28B-6693C6B9E619}'
node='HKLM\SYSTEM\CurrentControlSet\Control\NodeInterfaces\{5A215226-3289-4156-894A-5C557CDF9664}'
version() { reg_value "$vendor" "Version Number"; }

# The product as installed, and one plug-in camera.
c="$prefix/drive_c"
mkdir "$c/KorvexCamera" "$c/Start"
cp "$deliverables"/* "$c/KorvexCamera/"
cat >"$work/rig.json" <<'RIG'
{"devices": [
  {"friendlyName": "Plug-in camera", "productId": "0x0902", "interface": 0, "instance": "6&aa&0&0000",
   "extensionUnits": {"plugin": {"node": 2}}}
]}
RIG
from "$c" "$kvsim" --rig "$work/rig.json" install
[ "$status" -eq 0 ] || fail "kvsim install: $(cat "$work/out.txt")"

# Without the helper, every open registers the plug-in again (Wine counts
# every process as elevated): the plug-in's own registration records 0x1000.
from "$c/KorvexCamera" 'C:\KorvexCamera\KV_DS_Ctrl.exe' LED on
[ "$(version)" = 0x1000 ] || fail "KV_DS_Ctrl did not register the plug-in itself: version '$(version)'"

# Started elevated from the system folder, as the check's "runas" start is.
from "$c/windows/system32" 'C:\KorvexCamera\Install_UvcCtrl.exe'
[ "$status" -eq 0 ] || fail "Install_UvcCtrl: status $status"
[ "$(version)" = 0x1001 ] || fail "Install_UvcCtrl: version '$(version)'"
[ "$(reg_value "$vendor" "FileName Path")" = 'C:\KorvexCamera\zelunit.dll' ] ||
    fail "Install_UvcCtrl: file '$(reg_value "$vendor" "FileName Path")'"

# The check now passes: nothing registers again, and the camera's node still
# gets the plug-in the registry names.
set +e
(cd "$c/KorvexCamera" && WINEPREFIX="$prefix" WINEDEBUG=+loaddll "$("$wine_run" "$wine_state" --loader)" \
    'C:\KorvexCamera\KV_DS_Ctrl.exe' LED on >"$work/ctrl.txt" 2>&1)
set -e
[ "$(version)" = 0x1001 ] || fail "the check registered the plug-in again: version '$(version)'"
grep -q 'Loaded L"C:\\\\KorvexCamera\\\\zelunit.dll"' "$work/ctrl.txt" ||
    fail "the plug-in camera did not get the registered plug-in: $(grep -i zelunit "$work/ctrl.txt")"

# A zelunit.dll in the folder it is started from is never taken, with or
# without one beside the helper. The planted library leaves a marker in the
# current folder when it loads; beside the helper it does load (the marker
# works), and fails as a module without DllRegisterServer.
cp "$planted" "$c/Start/zelunit.dll"
marker="$c/Start/kv-planted-loaded.txt"
mkdir "$c/Lone"
cp "$deliverables/Install_UvcCtrl.exe" "$c/Lone/"
from "$c/Start" 'C:\Lone\Install_UvcCtrl.exe' /q
[ "$status" -eq 3 ] || fail "no plug-in beside the helper: status $status"
[ ! -e "$marker" ] || fail "the planted zelunit.dll was loaded"
reg_value "$class\\InprocServer32" "" | grep -qx 'C:\\KorvexCamera\\zelunit.dll' ||
    fail "a failed run changed the registration: '$(reg_value "$class\\InprocServer32" "")'"
cp "$planted" "$c/Lone/zelunit.dll"
from "$c/Start" 'C:\Lone\Install_UvcCtrl.exe' /q
[ "$status" -eq 5 ] && [ -e "$marker" ] || fail "control: the planted library beside the helper: status $status"
rm -f "$marker"

mkdir "$c/Other"
cp "$deliverables/Install_UvcCtrl.exe" "$deliverables/zelunit.dll" "$c/Other/"
from "$c/Start" 'C:\Other\Install_UvcCtrl.exe'
[ "$status" -eq 0 ] || fail "from another folder: status $status"
[ ! -e "$marker" ] || fail "the planted zelunit.dll was loaded"
[ "$(reg_value "$class\\InprocServer32" "")" = 'C:\Other\zelunit.dll' ] ||
    fail "registered: '$(reg_value "$class\\InprocServer32" "")'"

from "$c/Start" 'C:\Other\Install_UvcCtrl.exe' /x
[ "$status" -eq 2 ] || fail "an unknown option: status $status"

# /u: the class, its type library and the node interface go; the vendor key
# stays, without the version that would let the check skip registration.
from "$c/Start" 'C:\Other\Install_UvcCtrl.exe' /u
[ "$status" -eq 0 ] || fail "/u: status $status"
for key in "$class" 'HKCR\Zelunit.ExtensionUnit.1' 'HKCR\TypeLib\{77D86AEC-1F9E-4044-95C5-0F05B382C0F5}' "$node"; do
    ! reg_has "$key" || fail "/u left $key"
done
reg_has "$vendor" || fail "/u removed the vendor key"
[ -z "$(version)" ] || fail "/u left the version '$(version)'"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "Install_UvcCtrl as expected"
