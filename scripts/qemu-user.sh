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
