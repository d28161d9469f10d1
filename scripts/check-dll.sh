#!/usr/bin/env bash
# The DLL players install: a 32-bit PE DLL that exports nothing and needs only Windows'
# own DLLs. With --program, a Windows tool program: a 32-bit PE executable that needs only
# Windows' own DLLs (nothing to ship beside it).
#
#   bash scripts/check-dll.sh FILE.asi
#   bash scripts/check-dll.sh --program FILE.exe
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
kind="DLL"
if [ "${1:-}" = --program ]; then
    kind="program"
    shift
fi
file=$1
if [ $kind = DLL ]; then
    file "$file" | grep -q "PE32 executable (DLL).*Intel 80386" || { echo "check-dll: $file is not a 32-bit PE DLL" >&2; exit 1; }
else
    file "$file" | grep -q "PE32 executable (console).*Intel 80386" || { echo "check-dll: $file is not a 32-bit PE console program" >&2; exit 1; }
fi
dump=$(i686-w64-mingw32-objdump -p "$file")
if [ $kind = DLL ] && grep -q "^The Export Tables" <<<"$dump"; then
    echo "check-dll: $file has an export table" >&2
    exit 1
fi
system='^(KERNEL32|USER32|msvcrt|ADVAPI32|ntdll|api-ms-win-.*)\.dll$'
imports=$(grep "DLL Name:" <<<"$dump" | awk '{print $3}')
for name in $imports; do
    grep -qiE "$system" <<<"$name" || { echo "check-dll: $file imports $name, which is not a Windows system DLL" >&2; exit 1; }
done
echo "check-dll: $file is a 32-bit $kind$([ $kind = DLL ] && echo ' with no exports'); imports: $(echo $imports | tr '\n' ' ')"
