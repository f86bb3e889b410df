#!/usr/bin/env bash
# Fails when the program's import table differs from the reviewed list: a new import, a new DLL,
# or one that is gone; and on any import from a DLL that is not loaded from the system folder.
set -euo pipefail
exe=${1:?exe} objdump=${2:?objdump} list=${3:?list}
actual=$("$objdump" -p "$exe" | awk '/DLL Name:/ { dll = tolower($3); next }
    dll && /^\t[0-9a-f]+\t/ { print dll " " $NF }' | LC_ALL=C sort -u)
[ -n "$actual" ] || { echo "no import table found in $exe" >&2; exit 1; }
# Whatever the list says: a DLL that is not a known DLL of Windows XP SP3 and later is looked for
# beside the program first, where anyone may have put one. Common controls come side by side.
known='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comdlg32|imm32|msvcrt|rpcrt4|comctl32)\.dll '
! grep -Ev "$known" <<<"$actual" || { echo "a DLL that may load from the program's folder" >&2; exit 1; }
diff -u <(grep -v '^#' "$list") <(echo "$actual") && echo "$(wc -l <<<"$actual") imports, as reviewed"
