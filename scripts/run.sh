#!/usr/bin/env bash
# Builds mirlka.exe and starts it under Wine: on your X display when DISPLAY is set, otherwise on a
# virtual display, with screenshots saved under build/screenshots/.
# This runs the 64-bit build of the program, which 64-bit Wine can start on any x86-64 Linux; the
# shipped 32-bit program is build/win32/mirlka.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target mirlka

# A Wine bed of its own, apart from the one the tests use.
bed=build/run
run_dir=$bed/program
mkdir -p "$run_dir"
cp build/win64/mirlka.exe "$run_dir/"

if [ -n "${DISPLAY:-}" ]; then
    export MIRLKA_DISPLAY=$DISPLAY
    echo "Starting mirlka.exe on $DISPLAY (close its window to end)."
    exec scripts/wine-env.sh run "$bed" "$run_dir/mirlka.exe"
fi

shots=$root/build/screenshots
mkdir -p "$shots"
scripts/wine-env.sh run "$bed" "$run_dir/mirlka.exe" &
pid=$!
sleep "${MIRLKA_SHOT_DELAY:-4}"
scripts/wine-env.sh shell "$bed" import -window root "$shots/mirlka.png"
echo "No DISPLAY: mirlka.exe ran on a virtual display. Screenshot: $shots/mirlka.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
scripts/wine-env.sh stop "$bed"
