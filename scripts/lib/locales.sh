# The locales of the Wine beds (MIRLKA_LANG): Japanese (code page 932), English (1252) for the
# program's English face, Chinese (936) for folders named in other code pages. setup.sh makes them
# on this machine, the guest's build.sh in the guest's image.
BED_LOCALES=(ja_JP.UTF-8 en_US.UTF-8 zh_CN.UTF-8)

# Names every bed locale in FILE, a locale.gen, for locale-gen.
enable_bed_locales() {
    local l
    for l in "${BED_LOCALES[@]}"; do
        sed -i "s/^# *\($l UTF-8\)/\1/" "$1"
        grep -q "^$l UTF-8" "$1" || echo "$l UTF-8" >>"$1"
    done
}

# Whether every bed locale is made here (`locale -a` lists ja_JP.UTF-8 as ja_JP.utf8).
bed_locales_made() {
    local l made
    made=$(locale -a 2>/dev/null) || return 1
    for l in "${BED_LOCALES[@]}"; do
        grep -qix "${l%.UTF-8}\.utf-\?8" <<<"$made" || return 1
    done
}
