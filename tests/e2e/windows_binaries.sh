#!/bin/sh
# What the Windows binaries are, read off the files themselves: the
# deliverables folder holds exactly the product; every deliverable is of the
# tree's architecture and needs no DLL beyond the system's; every program we
# ship sets its library search at start-up (SetDllDirectoryW); every program
# carries version 1.14.0.0; Install_UvcCtrl.exe's manifest asks for elevation;
# KV_DS_Ctrl.exe's manifest runs it as its invoker on the listed systems;
# KV_GUI_Ctrl.exe is a windowed program with its icon and a manifest for the
# version 6 common controls and per-monitor dpi awareness; every stand-in
# library exports exactly the names
# of its .def file, undecorated or decorated as the real library's callers
# expect.
#
#   windows_binaries.sh OBJDUMP WINDRES FORMAT STANDIN_DIR DEF_DIR DELIVERABLES_DIR NAME...
set -eu
objdump=$1 windres=$2 format=$3 dlls=$4 defs=$5 deliverables=$6
shift 6
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ "$#" -gt 0 ] || fail "no deliverable is declared"
[ -d "$deliverables" ] || fail "no deliverables folder at $deliverables"
have=$(ls -A "$deliverables" | sort | tr '\n' ' ')
want=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
[ "$have" = "$want" ] || fail "the deliverables folder holds '$have', not '$want'"

system='^(kernel32|user32|shell32|ole32|oleaut32|advapi32|msvcrt|gdi32|comctl32|comdlg32|shlwapi|version|uxtheme)\.dll$'
for name in "$@"; do
    file="$deliverables/$name"
    [ -f "$file" ] || continue
    "$objdump" -f "$file" | grep -q "file format $format\$" || fail "$name is not $format"
    imports=$("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    for dll in $imports; do
        echo "$dll" | grep -Eq "$system" || fail "$name needs $dll"
    done
    case "$name" in
        *.exe) "$objdump" -p "$file" | grep -q 'SetDllDirectoryW$' || fail "$name does not set its library search" ;;
    esac
done

for program in KV_DS_Ctrl.exe KV_GUI_Ctrl.exe Install_UvcCtrl.exe; do
    version=$("$windres" -i "$deliverables/$program" -O rc)
    for field in FILEVERSION PRODUCTVERSION; do
        echo "$version" | grep -Eq "^ *$field 1, 14, 0, 0\$" || fail "$program: $field is not 1.14.0.0"
    done
done
# The plug-in registration writes to HKEY_LOCAL_MACHINE: the helper asks for
# elevation itself, whoever starts it.
grep -aq 'level="requireAdministrator"' "$deliverables/Install_UvcCtrl.exe" ||
    fail "Install_UvcCtrl.exe does not ask for elevation in its manifest"

# The console program runs with its invoker's rights and names the systems it
# supports, so that Windows never redirects its Setting.ini writes.
console=$(strings -a "$deliverables/KV_DS_Ctrl.exe")
for text in 'name="Korvex.CameraControl.KV_DS_Ctrl"' 'level="asInvoker"' '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
            '<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>'; do
    echo "$console" | grep -Fq "$text" || fail "KV_DS_Ctrl.exe's manifest lacks $text"
done
"$windres" -i "$deliverables/KV_DS_Ctrl.exe" -O rc | grep -q 'RT_MANIFEST' || fail "KV_DS_Ctrl.exe has no manifest resource"

# The window asks for the version 6 common controls and draws itself for the
# dpi of the monitor it is on; it is a windowed program, with its icon.
gui=$(strings -a "$deliverables/KV_GUI_Ctrl.exe")
for text in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '>PerMonitorV2, PerMonitor<' '>true/pm<'; do
    echo "$gui" | grep -Fq "$text" || fail "KV_GUI_Ctrl.exe's manifest lacks $text"
done
"$objdump" -p "$deliverables/KV_GUI_Ctrl.exe" | grep -q '^Subsystem.*Windows GUI' || fail "KV_GUI_Ctrl.exe is not a windowed program"
"$windres" -i "$deliverables/KV_GUI_Ctrl.exe" -O rc | grep -q 'RT_GROUP_ICON' || fail "KV_GUI_Ctrl.exe has no icon"

for name in SMIUtility ClientPropertyPageLIB libusbK kvsimcam; do
    # The names on the left of each EXPORTS line, quotes and PRIVATE dropped.
    sed -n '/^EXPORTS/,$p' "$defs/$name.def" | sed '1d; s/^[[:space:]]*"\{0,1\}\([^" ]*\).*/\1/' | sort >want.$$
    "$objdump" -p "$dlls/$name.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort >have.$$
    cmp -s want.$$ have.$$ || fail "$name.dll exports: $(tr '\n' ' ' <have.$$)"
    rm -f want.$$ have.$$
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "Windows binaries as expected ($format): deliverables $want"
