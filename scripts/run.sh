#!/usr/bin/env bash
# Builds mirlka.exe and starts it under Wine together with the host simulator (a stand-in for the
# host sequencer that answers on DDE as "wincake"), so Execute can be tried without the real host.
# With DISPLAY set both windows open on your display; otherwise they run on a virtual display and
# screenshots are saved under build/screenshots/.
# This runs the 64-bit build of the program, which 64-bit Wine can start on any x86-64 Linux; the
# shipped 32-bit program is build/win32/mirlka.exe (cmake --preset win32; cmake --build --preset win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target mirlka hostsim

# A Wine bed of its own, apart from the one the tests use.
bed=build/run
program=$bed/program
mkdir -p "$program"
cp build/win64/mirlka.exe docs/mirlka.html "$program/"
cp build/win64/hostsim.exe "$bed/"

wine_run() { scripts/wine-env.sh run "$bed" "$@"; }
# Waits until a window with this title is on the display (a fresh Wine prefix is slow to start).
wait_for_window() {
    for _ in $(seq 1 60); do
        scripts/wine-env.sh shell "$bed" xdotool search --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    echo "run: no window \"$1\" appeared" >&2
}
scripts/wine-env.sh ensure "$bed"

if [ -n "${DISPLAY:-}" ]; then
    export MIRLKA_DISPLAY=$DISPLAY
    echo "Starting the host simulator and mirlka.exe on $DISPLAY (close mirlka's window to end)."
    wine_run "$bed/hostsim.exe" --tracks 16 &
    sim=$!
    wine_run "$program/mirlka.exe" || true
    kill "$sim" 2>/dev/null || true
    scripts/wine-env.sh stop "$bed"
    exit 0
fi

shots=$root/build/screenshots
mkdir -p "$shots"
shot() { scripts/wine-env.sh shell "$bed" import -window root "$shots/$1"; echo "  $shots/$1"; }

wine_run "$bed/hostsim.exe" --tracks 16 &
sim=$!
wait_for_window "Host simulator"
wine_run "$program/mirlka.exe" &
app=$!
wait_for_window "Mirelka for Cakewalk"
sleep 1
echo "No DISPLAY: the host simulator and mirlka.exe ran on a virtual display. Screenshots:"
shot mirlka.png
kill "$app" "$sim" 2>/dev/null || true
wait "$app" "$sim" 2>/dev/null || true
scripts/wine-env.sh stop "$bed"
