#!/bin/sh
# Tells whether this machine's kernel executes 32-bit x86 programs at all:
# a three-instruction static i386 program is assembled and started. Some
# virtual machines run a kernel without 32-bit user code ("Exec format
# error"); there no 32-bit Windows program can start under Wine, whatever is
# installed. Exit 0 when it runs; 1, with what was measured, when it does not.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/p.s"
if ! as --32 -o "$dir/p.o" "$dir/p.s" || ! ld -m elf_i386 -o "$dir/p" "$dir/p.o"; then
    echo "i386-probe: could not assemble the probe (binutils)" >&2
    exit 1
fi
out=$("$dir/p" 2>&1)
rc=$?
[ "$rc" -eq 0 ] && exit 0
echo "i386-probe: a static 32-bit program exited $rc: ${out:-nothing printed}" >&2
exit 1
