# Sourced by the scripts and tests that run 32-bit programs. Where the kernel cannot run
# them itself, scripts/setup.sh hands them to qemu's user mode through binfmt_misc, and a
# few things differ there.

# The enabled binfmt_misc entry that hands 32-bit x86 programs to qemu-i386, if there is
# one. binfmt_misc comes before the kernel's own loader, so with it every 32-bit program
# runs under qemu, whatever the kernel could do.
qemu_i386_entry() {
    local entry
    for entry in /proc/sys/fs/binfmt_misc/*; do
        [ -f "$entry" ] && [ "${entry##*/}" != status ] && [ "${entry##*/}" != register ] || continue
        grep -qx enabled "$entry" 2>/dev/null && grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null &&
            { echo "$entry"; return 0; }
    done
    return 1
}

# The binfmt_misc registration (for /proc/sys/fs/binfmt_misc/register) that hands every 32-bit
# x86 program to the qemu-i386 at INTERPRETER.
qemu_i386_binfmt_line() {
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":kellhud-i386:M::${magic}:${mask}:$1:"
}

# 32-bit AddressSanitizer leaves the top gigabyte to the kernel (qemu reports an i686 one)
# and shadows only what lies below 0xc0000000. qemu's user mode places mappings from just
# under its guest's libraries down to zero and then wraps to the top gigabyte: after about
# 600 MB of mappings made over a run (a large quarantine turns over that much quickly), the
# runtime meets memory it does not shadow and stops with "CHECK failed ... AddrIsInMem". A
# guest address space reserved below that line makes qemu place every mapping, and reuse
# freed ones, where the runtime shadows it; one page short of the line, because a mapping
# that ends exactly at 0xc0000000 trips the runtime too. Only qemu reads this variable
# (tests/CMakeLists.txt gives the tests the same value).
export QEMU_RESERVED_VA=0xbfff0000

# Whether the 32-bit programs' signal handlers are told the trap number of their fault, as a
# kernel tells them (Wine needs it; Debian 12's qemu-i386 gives -1). Compiles and runs a
# probe; true where the kernel runs 32-bit programs itself.
qemu_reports_trap_numbers() {
    local dir status
    dir=$(mktemp -d)
    gcc -m32 -o "$dir/trap_number" "$(dirname "${BASH_SOURCE[0]}")/qemu/trap_number.c" 2>/dev/null &&
        "$dir/trap_number" 2>/dev/null
    status=$?
    rm -rf "$dir"
    return $status
}
