#!/usr/bin/env bash
# Where the shipped 32-bit program cannot run, the test command is told why in one line and goes
# on: without 32-bit Wine, or the emulator (status 77), or with one that does not start as such.
# In CI (second status) the same line fails the run.
set -euo pipefail
scripts=$(dirname "$0")/../../scripts
for probe in "MIRLKA_WINE32_LOADER wine32.sh 1 1 32-bit Wine: cannot" \
    "MIRLKA_QEMU test-shipped.sh 77 1 shipped exe in a 32-bit guest: not run on this machine: "; do
    read -r variable script status ci_status expected <<<"$probe"
    for tool in /nonexistent/tool /bin/true; do
        for ci in false true; do
            want=$status got=0
            [ $ci = false ] || want=$ci_status
            line=$(env CI=$ci "$variable=$tool" "$scripts/$script") || got=$?
            [ $got -eq "$want" ] && [ "$(wc -l <<<"$line")" -eq 1 ] && [[ $line == "$expected"* ]] ||
                { echo "$script with $tool, CI=$ci: status $got: $line"; exit 1; }
        done
    done
done
