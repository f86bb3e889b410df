#!/usr/bin/env bash
# Builds mirlka.exe and starts it under Wine together with the host simulator (a stand-in for the
# host sequencer that answers on DDE as "wincake"), so Execute can be tried without the real host.
#   scripts/run.sh             with DISPLAY set: both windows open on your display until you close
#                              mirlka's window; without: a scripted session on a virtual display
#   scripts/run.sh --pictures  the scripted session, then the read-me's pictures in docs/ made anew,
#                              with the session played again on an English system and at 144 DPI
# The scripted session (tools/demo) gives rows channels with the channel combo and the popup menu,
# takes back a Reset List pressed by mistake with Ctrl+Z, saves a preset, presses Execute and opens the about box; it prints the simulator's song before
# and after and leaves screenshots of those moments, cropped to the window, in build/screenshots/.
# This runs the 64-bit build of the program, which 64-bit Wine can start on any x86-64 Linux; the
# shipped 32-bit program is build/win32/mirlka.exe (cmake --preset win32; cmake --build --preset win32).
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/lib/strict.sh
source scripts/lib/program.sh

pictures=0
case ${1:-} in
--pictures) pictures=1 ;;
"") ;;
*) echo "usage: scripts/run.sh [--pictures]" >&2; exit 2 ;;
esac

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target mirlka hostsim demo

# A Wine bed of its own, apart from the one the tests use; whatever it started ends with it.
bed=build/run
program=$bed/program
program_folder "$program" build/win64/mirlka.exe build/win64
trap 'scripts/wine-env.sh stop "$bed"; MIRLKA_LANG=en_US.UTF-8 scripts/wine-env.sh stop "$bed"
    MIRLKA_DPI=144 scripts/wine-env.sh stop "$bed"' EXIT
wine_run() { scripts/wine-env.sh run "$bed" "$@"; }
# A fresh prefix takes a while; a bed that does not come up is no reason to wait for ever.
bed_up() {
    timeout 300 scripts/wine-env.sh ensure "$bed" ||
        { echo "run: the Wine bed (display, prefix, wineserver) did not come up within 300 s" >&2; exit 1; }
}

if [ -n "${DISPLAY:-}" ] && [ $pictures -eq 0 ]; then
    export MIRLKA_DISPLAY=$DISPLAY
    bed_up
    echo "Starting the host simulator and mirlka.exe on $DISPLAY (close mirlka's window to end)."
    wine_run "$program/hostsim.exe" --tracks 16 &
    sim=$!
    wine_run "$program/mirlka.exe" || true
    kill "$sim" 2>/dev/null || true
    exit 0
fi
unset MIRLKA_DISPLAY

# The scripted session in the bed of the current MIRLKA_LANG and MIRLKA_DPI; screenshots in $1.
session() {
    local shots=$1 status=0
    rm -rf "$shots"
    mkdir -p "$shots"
    bed_up
    echo "A scripted session on a virtual display (${MIRLKA_LANG:-ja_JP.UTF-8}, ${MIRLKA_DPI:-96} DPI):"
    scripts/demo-session.sh "$bed" "$program" 300 "$shots" || status=$?
    scripts/wine-env.sh stop "$bed"
    [ "$status" -eq 0 ] || exit "$status"
}

shots=build/screenshots
session "$shots"
echo "Screenshots of the session: $root/$shots/"
ls "$shots"/*.png | sed 's/^/  /'
if [ $pictures -eq 1 ]; then
    cp "$shots/main-window.png" "$shots/about-box.png" "$shots/host-before.png" \
        "$shots/host-after.png" docs/
    # The same session on an English system, and on a Japanese one at 150% (144 DPI).
    MIRLKA_LANG=en_US.UTF-8 session "$shots/en"
    cp "$shots/en/main-window.png" docs/main-window-en.png
    cp "$shots/en/about-box.png" docs/about-box-en.png
    MIRLKA_DPI=144 session "$shots/144dpi"
    cp "$shots/144dpi/main-window.png" docs/main-window-144dpi.png
    echo "The read-me's pictures in docs/ are made anew from them."
fi
