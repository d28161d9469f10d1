#!/usr/bin/env bash
# For a machine whose kernel does not run 32-bit programs (they run through qemu-user): builds
# a qemu-i386 that tells signal handlers the trap number of their fault, and hands 32-bit
# programs to it. Debian 12's qemu-i386 gives -1 there, and Wine stops at its first fault, so
# the Windows tools' tests skip; with this one they run under Wine, about ten times slower
# than on a native kernel.
#
#   sudo bash scripts/qemu-trap-numbers.sh
#
# Builds Debian's own qemu source with scripts/qemu/trap-numbers.patch (about two minutes),
# installs /usr/local/bin/qemu-i386-traps, points the binfmt entry of scripts/setup.sh at it
# and installs Wine. Running it again rebuilds. Needs root and Debian's package registry.
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/qemu-user.sh"
[ "$(id -u)" = 0 ] || { echo "qemu-trap-numbers: run it as root (it installs packages and a binfmt entry)" >&2; exit 1; }
[ -e /proc/sys/fs/binfmt_misc/kellhud-i386 ] ||
    { echo "qemu-trap-numbers: no kellhud-i386 binfmt entry: this kernel runs 32-bit programs itself, or scripts/setup.sh has not run" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    echo "qemu-trap-numbers: adding Debian's source packages to apt's sources"
    [ -f /etc/apt/sources.list.d/debian.sources ] ||
        { echo "qemu-trap-numbers: add a deb-src line for Debian to apt's sources, then run this again" >&2; exit 1; }
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >/etc/apt/sources.list.d/kellhud-src.sources
fi
echo "qemu-trap-numbers: installing what qemu builds with"
apt-get update -qq || echo "qemu-trap-numbers: apt-get update could not read every package list (above); installing from those it read"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    dpkg-dev meson ninja-build pkg-config libglib2.0-dev python3-venv flex bison patch >/dev/null
(cd "$work" && apt-get source -qq qemu-user >/dev/null 2>&1)
source_dir=$(find "$work" -maxdepth 1 -type d -name 'qemu-*' | head -n 1)
[ -n "$source_dir" ] || { echo "qemu-trap-numbers: apt-get source qemu-user unpacked nothing" >&2; exit 1; }
patch -d "$source_dir" -p1 --quiet <"$here/qemu/trap-numbers.patch"
echo "qemu-trap-numbers: building qemu-i386 from $(basename "$source_dir")"
mkdir "$source_dir/build"
(cd "$source_dir/build" &&
    ../configure --target-list=i386-linux-user --disable-system --disable-tools --disable-docs \
        --disable-werror --disable-install-blobs --disable-capstone --disable-slirp --disable-fdt >"$work/configure.log" 2>&1 &&
    ninja qemu-i386 >"$work/build.log" 2>&1) ||
    { tail -n 20 "$work/configure.log" "$work/build.log" 2>/dev/null; echo "qemu-trap-numbers: the build failed" >&2; exit 1; }
install -m 755 "$source_dir/build/qemu-i386" /usr/local/bin/qemu-i386-traps

echo -1 >/proc/sys/fs/binfmt_misc/kellhud-i386
qemu_i386_binfmt_line /usr/local/bin/qemu-i386-traps >/proc/sys/fs/binfmt_misc/register
qemu_reports_trap_numbers || { echo "qemu-trap-numbers: the new qemu-i386 still gives no trap numbers" >&2; exit 1; }

if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed"; then
    echo "qemu-trap-numbers: installing wine and wine32:i386"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq || true # as above
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine wine32:i386 >/dev/null
fi
echo "qemu-trap-numbers: 32-bit programs now run through /usr/local/bin/qemu-i386-traps; the Windows tests (ctest --preset sim -R Windows) run under Wine"
