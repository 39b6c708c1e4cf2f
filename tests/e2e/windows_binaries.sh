#!/bin/sh
# What the Windows binaries are, read off the files themselves (no Wine
# needed, so the shipped 32-bit tree is checked too): KV_DS_Ctrl.exe is of
# the tree's architecture, needs no DLL beyond the system's, and carries
# version 1.14.0.0; every stand-in library exports exactly the names of its
# .def file, undecorated or decorated as the real library's callers expect.
#
#   windows_binaries.sh OBJDUMP WINDRES FORMAT KV_DS_CTRL DLL_DIR DEF_DIR
set -eu
objdump=$1 windres=$2 format=$3 program=$4 dlls=$5 defs=$6
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$objdump" -f "$program" | grep -q "file format $format\$" || fail "KV_DS_Ctrl.exe is not $format"

system='^(kernel32|user32|shell32|ole32|oleaut32|advapi32|msvcrt|gdi32|comctl32|shlwapi|version)\.dll$'
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll in $imports; do
    echo "$dll" | grep -Eq "$system" || fail "KV_DS_Ctrl.exe needs $dll"
done

version=$("$windres" -i "$program" -O rc)
for field in FILEVERSION PRODUCTVERSION; do
    echo "$version" | grep -Eq "^ *$field 1, 14, 0, 0\$" || fail "$field is not 1.14.0.0"
done

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
echo "Windows binaries as expected ($format)"
