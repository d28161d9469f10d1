#!/usr/bin/env bash
# The DLL players install: a 32-bit PE DLL that exports nothing and needs only Windows'
# own DLLs.
set -euo pipefail
dll=$1
file "$dll" | grep -q "PE32 executable (DLL).*Intel 80386" || { echo "check-dll: $dll is not a 32-bit PE DLL" >&2; exit 1; }
dump=$(i686-w64-mingw32-objdump -p "$dll")
if grep -q "^The Export Tables" <<<"$dump"; then
    echo "check-dll: $dll has an export table" >&2
    exit 1
fi
system='^(KERNEL32|USER32|msvcrt|ADVAPI32|ntdll|api-ms-win-.*)\.dll$'
imports=$(grep "DLL Name:" <<<"$dump" | awk '{print $3}')
for name in $imports; do
    grep -qiE "$system" <<<"$name" || { echo "check-dll: $dll imports $name, which is not a Windows system DLL" >&2; exit 1; }
done
echo "check-dll: $dll is a 32-bit DLL with no exports; imports: $(echo $imports | tr '\n' ' ')"
