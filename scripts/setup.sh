#!/usr/bin/env bash
# Installs what the builds need on a Debian 12 machine and makes sure 32-bit x86 Linux
# programs run here (the simulated host is one). Safe to run again.
#
#   bash scripts/setup.sh
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
# A mirror caught mid-sync fails one package list now and then; the install that follows
# says so if it needed that list.
apt_update() { as_root apt-get update -qq || echo "setup: apt-get update could not read every package list (above); installing from those it read"; }

packages=(cmake make g++ g++-multilib g++-mingw-w64-i686 googletest nlohmann-json3-dev libstb-dev lib32z1-dev libz-mingw-w64-dev file binutils-mingw-w64-i686
          librsvg2-bin fonts-dejavu-core zip unzip clang libclang-rt-14-dev chromium)
# The art's icon set comes from the npm registry; Node.js may already bring npm with it.
command -v npm >/dev/null || packages+=(npm)
# The packing tests read the release zip with Python's zipfile, as a second reader.
command -v python3 >/dev/null || packages+=(python3)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    apt_update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Some kernels cannot run 32-bit programs themselves; then qemu's user mode runs them,
# registered with binfmt_misc so that every 32-bit program (and any it starts) just works.
probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
printf 'int main(){return 0;}\n' > "$probe_dir/probe.c"
g++ -m32 -x c++ "$probe_dir/probe.c" -o "$probe_dir/probe"
# A probe that runs says nothing when qemu is registered already (a second run of this
# script): binfmt_misc comes before the kernel's own loader.
source "$(dirname "$0")/qemu-user.sh"
native32=1
if qemu_i386_entry >/dev/null; then
    native32=0
fi
if ! "$probe_dir/probe" 2>/dev/null; then
    native32=0
    if ! command -v qemu-i386 >/dev/null; then
        echo "setup: this kernel does not run 32-bit programs; installing qemu-user"
        apt_update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends qemu-user >/dev/null
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
        as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/kellhud-i386 ]; then
        qemu_i386_binfmt_line "$(command -v qemu-i386)" | as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    "$probe_dir/probe" || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
    echo "setup: 32-bit programs run through qemu-i386"
fi

# Wine runs the Windows tools' tests. It starts only where the kernel runs 32-bit programs
# itself (Debian's qemu-user cannot run it), so elsewhere those tests skip and say why, unless
# scripts/qemu-trap-numbers.sh has given qemu what Wine needs.
if [ "$native32" = 1 ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed"; then
    echo "setup: installing wine and wine32:i386 (the Windows tools' tests run under it)"
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    apt_update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine wine32:i386 >/dev/null
fi

# The studio's browser tests drive Debian's chromium through playwright-core (no browser
# download of its own), installed as the lock file pins it; again only when the lock file
# is newer than what is installed.
browser_tests="$(dirname "$0")/../tests/browser"
if [ ! -d "$browser_tests/node_modules" ] || [ "$browser_tests/package-lock.json" -nt "$browser_tests/node_modules" ]; then
    echo "setup: installing the browser tests' packages (npm ci in tests/browser)"
    (cd "$browser_tests" && npm ci --no-audit --no-fund >/dev/null)
    touch "$browser_tests/node_modules"
fi
