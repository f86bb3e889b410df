#!/usr/bin/env bash
# Measures Debian's Japanese fonts as the stand-in for "ＭＳ Ｐゴシック", the font of the program's
# dialogs: for each candidate, tools/fontfit creates the dialogs of mirlka.exe in a scratch Wine
# bed (build/fontfit) with that substitute and lists every label that does not fit its control.
# Prints a table, then the clipped labels of each font. The bed's choice is scripts/ui-font.sh.
# Then the bed's font in both languages (ja_JP and en_US, whose dialogs use "MS Shell Dlg") at
# 96, 144 and 192 DPI, each in a bed of its own: the same measure, the list's column titles too.
#   scripts/measure-fonts.sh
source "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# family|package
candidates=(
    "IPAPGothic|fonts-ipafont-gothic"
    "Ume P Gothic|fonts-horai-umefont"
    "VL PGothic|fonts-vlgothic"
    "TakaoPGothic|fonts-takao-gothic"
    "IPAexGothic|fonts-ipaexfont-gothic"
    "Noto Sans CJK JP|fonts-noto-cjk"
    "Sawarabi Gothic|fonts-sawarabi-gothic"
)
packages=()
for c in "${candidates[@]}"; do packages+=("${c#*|}"); done
bash scripts/setup.sh "${packages[@]}" >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target fontfit >/dev/null

bed=build/fontfit
mkdir -p "$bed"
stop_beds() {
    for lang in ja_JP.UTF-8 en_US.UTF-8; do
        for dpi in 96 144 192; do
            MIRLKA_LANG=$lang MIRLKA_DPI=$dpi scripts/wine-env.sh stop "$bed"
        done
    done
}
trap stop_beds EXIT
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
program="Z:${root//\//\\}\\build\\win64\\mirlka.exe"

# One row of the table from fontfit's report, after the leading columns given; the clipped labels
# are kept for the details below the table.
report_row() {
    local format=$1 name=$2 report=$3 drawn units clipped
    shift 3
    drawn=$(sed -n 's/^main: drawn in "\(.*\)", base units \(.*\) px$/\1/p' <<<"$report")
    units=$(sed -n 's/^main: drawn in ".*", base units \(.*\) px$/\1/p' <<<"$report")
    clipped=$(sed -n 's/^\([0-9]*\) label(s) clipped$/\1/p' <<<"$report")
    # shellcheck disable=SC2059
    printf "$format" "$@" "${units:-?}" "${clipped:-?}" "${drawn:-(no answer)}"
    details+="$name:"$'\n'"$(grep '^  ' <<<"$report" || echo '  (none)')"$'\n'
}

details=""
printf '%-18s %-24s %-11s %-8s %s\n' "substitute" "package" "base units" "clipped" "drawn in"
for c in "${candidates[@]}"; do
    family=${c%|*}
    scripts/wine-env.sh run "$bed" reg add "$subst" /v "ＭＳ Ｐゴシック" /d "$family" /f >/dev/null
    report=$(timeout 120 scripts/wine-env.sh run "$bed" build/win64/fontfit.exe "$program" |
        tr -d '\r') || true
    report_row '%-18s %-24s %-11s %-8s %s\n' "$family" "$report" "$family" "${c#*|}"
done
echo
printf '%s' "$details"

# The bed's own choice again in the first bed, which the candidates took turns in.
source scripts/ui-font.sh
scripts/wine-env.sh run "$bed" reg add "$subst" /v "ＭＳ Ｐゴシック" /d "$UI_FONT_FAMILY" /f >/dev/null
echo
printf '%-12s %-5s %-11s %-8s %s\n' "locale" "DPI" "base units" "clipped" "drawn in"
details=""
for lang in ja_JP.UTF-8 en_US.UTF-8; do
    for dpi in 96 144 192; do
        report=$(MIRLKA_LANG=$lang MIRLKA_DPI=$dpi timeout 300 scripts/wine-env.sh run "$bed" \
            build/win64/fontfit.exe "$program" | tr -d '\r') || true
        MIRLKA_LANG=$lang MIRLKA_DPI=$dpi scripts/wine-env.sh stop "$bed"
        report_row '%-12s %-5s %-11s %-8s %s\n' "$lang $dpi" "$report" "$lang" "$dpi"
    done
done
echo
printf '%s' "$details"
