#!/bin/bash
# Run by the guest's job (job.sh) on the image itself, not on a snapshot: makes the 32-bit Wine
# prefixes of every bed that the suites use, one per locale and resolution (scripts/wine-env.sh),
# and keeps them in the image under KEPT, so that a run only moves them into place.
#   prepare.sh SCRIPTS_FOLDER KEPT
scripts=${1:?scripts folder}
kept=${2:?kept folder}
rm -rf "$kept"
mkdir -p "$kept"
: >"$kept/wine32"
# The first bed's new prefix seeds the others: wineboot --init under emulation takes minutes.
export MIRLKA_PREFIX_SEED=/var/tmp/mirlka-seed
rm -rf "$MIRLKA_PREFIX_SEED"
for lang in ja_JP.UTF-8 en_US.UTF-8; do
    for dpi in 96 144 192; do
        export MIRLKA_LANG=$lang MIRLKA_DPI=$dpi
        t=$(date +%s)
        timeout 900 "$scripts/wine-env.sh" ensure "$kept" || { echo "no prefix for $lang at $dpi DPI"; exit 1; }
        "$scripts/wine-env.sh" stop "$kept"
        echo "prepare: the prefix for $lang at $dpi DPI in $(($(date +%s) - t)) s"
    done
done
rm -rf "$kept"/wine-env*/lock "$kept"/wine-env*/*.log "$MIRLKA_PREFIX_SEED"
