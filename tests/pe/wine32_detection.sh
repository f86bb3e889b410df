#!/usr/bin/env bash
# The 32-bit Wine detection refuses, in one line, a machine without 32-bit Wine and a loader that
# does not start as Wine (as a 32-bit loader on a kernel without 32-bit support does).
set -uo pipefail
probe=$(dirname "$0")/../../scripts/wine32.sh
for loader in /nonexistent/wine /bin/true; do
    line=$(MIRLKA_WINE32_LOADER=$loader "$probe") && { echo "accepted $loader: $line"; exit 1; }
    [ "$(wc -l <<<"$line")" -eq 1 ] && [[ $line == "32-bit Wine: cannot"* ]] || { echo "bad: $line"; exit 1; }
done
echo "refuses both"
