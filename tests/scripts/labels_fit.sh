#!/usr/bin/env bash
# tools/fontfit in the Wine bed of a locale and a resolution: fails when a label is clipped. A bed of
# another resolution than 96 DPI serves this check alone and ends with it.
#   labels_fit.sh BUILD_DIR LANG DPI
set -euo pipefail
build=$1
export MIRLKA_LANG=$2 MIRLKA_DPI=$3
env=$(dirname "$0")/../../scripts/wine-env.sh
[ "$3" = 96 ] || trap '"$env" stop "$build"' EXIT
program=$(cd "$build" && pwd)/mirlka.exe
timeout 300 "$env" run "$build" "$build/fontfit.exe" "Z:${program//\//\\}"
