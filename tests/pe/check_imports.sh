#!/usr/bin/env bash
# Fails when the program's import table differs from the reviewed list: a new import, a new DLL,
# or one that is gone.
set -euo pipefail
exe=${1:?exe} objdump=${2:?objdump} list=${3:?list}
actual=$("$objdump" -p "$exe" | awk '/DLL Name:/ { dll = tolower($3); next }
    dll && /^\t[0-9a-f]+\t/ { print dll " " $NF }' | LC_ALL=C sort -u)
[ -n "$actual" ] || { echo "no import table found in $exe" >&2; exit 1; }
diff -u <(grep -v '^#' "$list") <(echo "$actual") && echo "$(wc -l <<<"$actual") imports, as reviewed"
