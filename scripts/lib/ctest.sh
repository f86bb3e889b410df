# Reads ctest's summary line ("95% tests passed, 1 tests failed out of 20") from a log; prints
# "PASSED FAILED LINE" of the last one, and fails when the log holds none.
ctest_summary() {
    local line failed total
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" 2>/dev/null | tail -n 1) ||
        return 1
    [ -n "$line" ] || return 1
    read -r failed total < <(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/' <<<"$line")
    echo "$((total - failed)) $failed $line"
}
