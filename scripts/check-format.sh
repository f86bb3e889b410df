#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it.
source "$(dirname "$0")/lib/strict.sh"
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests tools -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted"
