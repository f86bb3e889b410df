#!/usr/bin/env bash
# Builds the ZIP distributable in a build tree and checks that it holds exactly the program, its
# manual and the read-me, that the program inside is the one just built, and that it stays small
# (at most 200 KB, stripped).
set -euo pipefail
build=${1:?build dir}
cd "$build"
rm -f mirlka-1.01.zip
cpack -G ZIP >/dev/null
listing=$(unzip -Z1 mirlka-1.01.zip | sort | tr '\n' ' ')
[ "$listing" = "mirlka.exe mirlka.html readme.txt " ] || { echo "unexpected contents: $listing"; exit 1; }
unzip -p mirlka-1.01.zip mirlka.exe | cmp - mirlka.exe
size=$(stat -c %s mirlka.exe)
[ "$size" -le 204800 ] || { echo "mirlka.exe is $size bytes, more than 200 KB"; exit 1; }
echo "mirlka-1.01.zip: $listing; mirlka.exe $size bytes"
