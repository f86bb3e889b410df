#!/usr/bin/env bash
# Fails when a file of the program includes a room above its own, a room beside it, a Win32 part
# from platform-free code, or anything of tools/ or tests/. Floors, lowest first: base and res;
# ui; host and settings; app. A file may include its own room and the rooms on lower floors;
# platform-free files (outside win/) only the platform-free parts and res/resource.h.
source "$(dirname "$0")/lib/strict.sh"
cd "$(dirname "$0")/.."

floor() {
    case $1 in
    base | res) echo 0 ;;
    ui) echo 1 ;;
    host | settings) echo 2 ;;
    app) echo 3 ;;
    *) echo -1 ;;
    esac
}

bad=0
files=0
while IFS= read -r file; do
    files=$((files + 1))
    rel=${file#src/}
    room=${rel%%/*}
    shell=0
    [[ $rel == */win/* ]] && shell=1
    while IFS= read -r include; do
        target=${include#\#include \"}
        target=${target%\"*}
        troom=${target%%/*}
        tfloor=$(floor "$troom")
        why=""
        if [ "$tfloor" -lt 0 ] || [ ! -f "src/$target" ]; then
            why="not a file of the program"
        elif [ $shell -eq 0 ] && [[ $target == */win/* ]]; then
            why="platform-free code includes a Win32 part"
        elif [ "$troom" != "$room" ] && [ "$tfloor" -ge "$(floor "$room")" ]; then
            why="$room includes $troom, which is not below it"
        fi
        if [ -n "$why" ]; then
            echo "$file: $include: $why"
            bad=1
        fi
    done < <(grep -E '^#include "' "$file" || true)
done < <(git ls-files 'src/*.cpp' 'src/*.h' 2>/dev/null || find src -name '*.cpp' -o -name '*.h')
[ $bad -eq 0 ] && echo "$files files of the program include only their own room and the rooms below"
exit $bad
