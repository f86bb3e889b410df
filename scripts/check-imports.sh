#!/usr/bin/env bash
# Fails when a Windows executable imports a DLL that a plain Windows installation does not ship.
set -euo pipefail
exe=${1:?exe}
objdump=${2:-i686-w64-mingw32-objdump}
system='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|version|ole32|oleaut32|msvcrt|ws2_32|shlwapi|imm32|winmm)\.dll$'
mapfile -t dlls < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ ${#dlls[@]} -gt 0 ] || { echo "no import table found in $exe" >&2; exit 1; }
bad=0
for d in "${dlls[@]}"; do
    if [[ $d =~ $system ]]; then echo "ok   $d"; else echo "FAIL $d is not a system DLL"; bad=1; fi
done
exit $bad
