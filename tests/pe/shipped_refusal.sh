#!/usr/bin/env bash
# The run of the shipped program in the emulated guest refuses, in one line and with status 77 (so
# that the test command goes on without it), a machine without the emulator and an emulator that
# does not start as one.
set -uo pipefail
script=$(dirname "$0")/../../scripts/test-shipped.sh
for qemu in /nonexistent/qemu-system-i386 /bin/true; do
    line=$(MIRLKA_QEMU=$qemu "$script")
    status=$?
    [ $status -eq 77 ] && [ "$(wc -l <<<"$line")" -eq 1 ] &&
        [[ $line == "shipped exe in a 32-bit guest: not run on this machine: "* ]] ||
        { echo "$qemu: status $status: $line"; exit 1; }
done
echo "refuses both"
