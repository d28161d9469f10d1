#!/usr/bin/env bash
# The linker gives every DLL an export directory, even an empty one. The plug-in exports
# nothing and must not look as if it did: clear the directory's entry in the PE header and
# rename its section (its 52 bytes stay in place, so the sections remain adjacent as the
# Windows loader wants them).
set -euo pipefail
dll=$1
pe=$(od -An -tu4 -j 60 -N 4 "$dll" | tr -d ' ')
magic=$(od -An -tx2 -j $((pe + 24)) -N 2 "$dll" | tr -d ' ')
[ "$magic" = "010b" ] || { echo "drop-export-directory: $dll is not a PE32 image" >&2; exit 1; }
# PE32 optional header: the data directories start 96 bytes in; entry 0 is the exports.
dd if=/dev/zero of="$dll" bs=1 seek=$((pe + 24 + 96)) count=8 conv=notrunc status=none
i686-w64-mingw32-objcopy --rename-section .edata=.rdata2 "$dll"
