#!/bin/bash
# Run by the guest's job (job.sh) on the image itself, not on a snapshot: makes the 32-bit Wine
# prefixes of every bed that the suites use, one per locale and resolution (scripts/wine-env.sh),
# and keeps them in the image under KEPT, so that a run only moves them into place.
#   prepare.sh SCRIPTS_FOLDER KEPT
scripts=${1:?scripts folder}
kept=${2:?kept folder}
source "$scripts/lib/strict.sh"
source "$scripts/lib/locales.sh"
rm -rf "$kept"
mkdir -p "$kept"
: >"$kept/wine32"
# The beds: every locale at 96 DPI, Japanese and English at 144 and 192 too.
beds=()
for lang in "${BED_LOCALES[@]}"; do beds+=("$lang/96"); done
beds+=(ja_JP.UTF-8/144 ja_JP.UTF-8/192 en_US.UTF-8/144 en_US.UTF-8/192)
bed_locales_made || { echo "prepare: the image lacks a bed's locale (${BED_LOCALES[*]})"; exit 1; }
# The first bed's new prefix seeds the others: wineboot --init under emulation takes minutes.
export MIRLKA_PREFIX_SEED=/var/tmp/mirlka-seed
rm -rf "$MIRLKA_PREFIX_SEED"
for bed in "${beds[@]}"; do
    lang=${bed%/*} dpi=${bed#*/}
    export MIRLKA_LANG=$lang MIRLKA_DPI=$dpi
    t=$(date +%s)
    if ! timeout 900 "$scripts/wine-env.sh" ensure "$kept"; then
        echo "prepare: no prefix for $lang at $dpi DPI; the bed's logs end:"
        tail -n 20 "$kept"/wine-env*/*.log || true
        exit 1
    fi
    "$scripts/wine-env.sh" stop "$kept"
    echo "prepare: the prefix for $lang at $dpi DPI in $(($(date +%s) - t)) s"
done
rm -rf "$kept"/wine-env*/lock "$kept"/wine-env*/*.log "$MIRLKA_PREFIX_SEED"
