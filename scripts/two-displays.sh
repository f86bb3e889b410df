#!/usr/bin/env bash
# The main window's place on two displays, in the Wine bed of two displays (wine-env.sh with
# MIRLKA_DISPLAYS=2): first with both shown, then with the second unplugged, as a laptop leaves its
# dock; the second is plugged back at the end. The bed lives on until
# `MIRLKA_DISPLAYS=2 scripts/wine-env.sh stop BUILD_DIR` ends it (CTest's displays_bed_stop).
#   two-displays.sh BUILD_DIR E2E_TEST_EXE
source "$(dirname "$0")/lib/strict.sh"
build=${1:?build dir}; exe=${2:?end-to-end test program}
bed() { MIRLKA_DISPLAYS=2 "$(dirname "$0")/wine-env.sh" "$1" "$build" "${@:2}"; }

failed=0
bed displays 2
bed run "$exe" --gtest_filter='TwoDisplays.*' || failed=1
bed displays 1
bed run "$exe" --gtest_filter='AppTest.APlaceOffEveryDisplayOpensOnTheNearestOne' || failed=1
bed displays 2
exit $failed
