#!/usr/bin/env bash
# Whether this machine can run the Wine suites against the shipped 32-bit program: it needs 32-bit
# Wine (Debian's wine32, architecture i386) and a kernel that executes 32-bit code. Prints one line;
# exits 0 when it can, 1 when it cannot.
source "$(dirname "$0")/lib/strict.sh"
loader=${MIRLKA_WINE32_LOADER:-/usr/lib/wine/wine}
if [ ! -x "$loader" ]; then
    echo "32-bit Wine: cannot run the shipped 32-bit program here: no 32-bit Wine ($loader, package wine32:i386)"
    exit 1
fi
started=0
out=$(timeout 30 "$loader" --version 2>&1) || started=$?
out=${out%%$'\n'*}
if [ $started -ne 0 ] || [[ $out != wine-* ]]; then
    echo "32-bit Wine: cannot run the shipped 32-bit program here: $loader does not start as Wine (${out:-no output}); does this kernel run 32-bit code?"
    exit 1
fi
echo "32-bit Wine: $out; the Wine suites run against the shipped 32-bit program too"
