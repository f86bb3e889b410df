#!/usr/bin/env bash
# Plays the scripted session (tools/demo) in a Wine bed and answers its requests for screenshots.
#   demo-session.sh BED PROGRAM_FOLDER LIMIT [SHOTS_FOLDER]
# PROGRAM_FOLDER holds mirlka.exe, mirlka.html, hostsim.exe and demo.exe. With SHOTS_FOLDER each
# requested moment is kept there as a PNG cropped to the window; without it a request is only
# acknowledged. The session may take LIMIT seconds; exits with the demo's status (124 on time-out,
# saying what it had last said).
scripts=$(cd "$(dirname "$0")" && pwd)
source "$scripts/lib/strict.sh"
bed=$(cd "${1:?bed}" && pwd)
program=$(cd "${2:?program folder}" && pwd)
limit=${3:?limit}
shots=${4:-}
signals=$bed/signals
rm -rf "$signals"
mkdir -p "$signals"

# "shot NAME LEFT TOP RIGHT BOTTOM": the demo waits for NAME.taken.
shoot() {
    local name=$1 left=$2 top=$3 right=$4 bottom=$5
    if [ -n "$shots" ]; then
        timeout 60 "$scripts/wine-env.sh" shell "$bed" import -window root "$signals/screen.png"
        convert "$signals/screen.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
            "$shots/$name.png"
        echo "  (screenshot $shots/$name.png)"
    fi
    touch "$signals/$name.taken"
}

# The demo's status is the session's, or else the reader's: a screenshot that cannot be taken stops
# the reader, and the demo, waiting for it, ends at the limit.
status=0
timeout "$limit" "$scripts/wine-env.sh" run "$bed" "$program/demo.exe" "Z:${signals//\//\\}" |
    while IFS= read -r -t "$limit" line; do
        line=${line%$'\r'}
        printf '%s\n' "$line" >"$signals/last"
        case $line in
        "shot "*) read -r _ name left top right bottom <<<"$line"
            shoot "$name" "$left" "$top" "$right" "$bottom" ;;
        *) echo "$line" ;;
        esac
    done || {
        codes=("${PIPESTATUS[@]}")
        status=${codes[0]}
        [ "$status" -ne 0 ] || status=${codes[1]}
    }
if [ "$status" -eq 124 ]; then
    echo "demo: the scripted session did not end within $limit s; it had last said:" \
        "$(cat "$signals/last" 2>/dev/null)" >&2
fi
exit "$status"
