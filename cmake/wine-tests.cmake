# Tests that run the Windows build under Wine. MIRLKA_EXE32 names the shipped 32-bit mirlka.exe,
# whose resources the tests read as data.
set(MIRLKA_EXE32 "" CACHE FILEPATH "The 32-bit mirlka.exe whose resources the tests check")

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# The wine bed's display and wineserver are ended once every test that needs them has run.
add_test(NAME wine_bed_stop COMMAND ${WINE_ENV} stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_bed_stop PROPERTIES FIXTURES_CLEANUP wine_bed)

# Tests that share the desktop, the registry key or the host's DDE service name take turns.
function(mirlka_wine_gtest target)
    cmake_parse_arguments(ARG "SHARES_DESKTOP" "TEST_FILTER" "" ${ARGN})
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
    mirlka_warnings(${target})
    set(props FIXTURES_REQUIRED wine_bed)
    if(ARG_SHARES_DESKTOP)
        list(APPEND props RESOURCE_LOCK wine_desktop)
    endif()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
        TEST_FILTER ${ARG_TEST_FILTER} PROPERTIES ${props})
endfunction()

# The platform-free core's unit tests once more, on the real platform: one Wine process for all
# of them, since each case is already reported one by one by the native run.
add_executable(mirlka_unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(mirlka_unit_tests PRIVATE mirlka_core ${HOSTSIM_CORE} GTest::gtest_main)
target_include_directories(mirlka_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(mirlka_unit_tests PRIVATE MIRLKA_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data/")
mirlka_warnings(mirlka_unit_tests)
add_test(NAME core_unit_tests_under_wine COMMAND mirlka_unit_tests)
set_tests_properties(core_unit_tests_under_wine PROPERTIES FIXTURES_REQUIRED wine_bed)

# A test program under Wine that may start mirlka.exe and the host simulator; TEST_FILTER picks the
# cases that run one by one in the bed of one display.
function(mirlka_wine_test_program target)
    cmake_parse_arguments(ARG "" "TEST_FILTER" "" ${ARGN})
    add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    # version: the tests read version blocks themselves; the program loads it at run time.
    target_link_libraries(${target} PRIVATE mirlka_shell mirlka_driver version)
    target_compile_definitions(${target} PRIVATE MIRLKA_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data/")
    add_dependencies(${target} mirlka)
    if(TARGET hostsim)
        add_dependencies(${target} hostsim)
    endif()
    mirlka_wine_gtest(${target} SHARES_DESKTOP TEST_FILTER ${ARG_TEST_FILTER})
endfunction()

# In-process Win32 tests.
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
mirlka_wine_test_program(mirlka_win_tests ${WIN_TEST_SOURCES})
# Wine shows the Linux root as drive Z:.
target_compile_definitions(mirlka_win_tests PRIVATE MIRLKA_EXE32_PATH="Z:${MIRLKA_EXE32}")

# Separate processes: mirlka.exe and the host simulator, driven from a test process.
file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
mirlka_wine_test_program(mirlka_e2e_tests ${E2E_TEST_SOURCES} TEST_FILTER -TwoDisplays.*)
# A version.dll that the tests plant beside a copy of the program; in a folder of its own, so that
# nothing started from the build folder meets it.
add_library(planted_version SHARED ${CMAKE_SOURCE_DIR}/tools/planted/version_dll.c)
set_target_properties(planted_version PROPERTIES OUTPUT_NAME version PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
target_link_options(planted_version PRIVATE -Wl,--kill-at ${MIRLKA_STATIC_LINK})
mirlka_warnings(planted_version)
add_dependencies(mirlka_e2e_tests planted_version)

# The road through the program on an English system (code page 1252), in a bed of its own: its
# texts, a box, the about box and the menus' keys, against the English data files.
set(ENGLISH_BED env MIRLKA_LANG=en_US.UTF-8 ${WINE_ENV})
add_test(NAME english_road COMMAND ${ENGLISH_BED} run ${CMAKE_BINARY_DIR}
    $<TARGET_FILE:mirlka_e2e_tests> --gtest_filter=AppTest.FirstStartRegistersTheToolAndResetClearsTheList:AppTest.EnterRunsExecuteAndHelpReportsAMissingManual:AppTest.TheWindowOpensWhereItWasSavedAndFileExitOrTheSessionsEndSaves:AppTest.ASecondStartLeavesTheFileAloneAndTheMenuTogglesTheRegistration:AppTest.AFolderOfAnyNameHoldsTheSettingsFile)
add_test(NAME english_bed_stop COMMAND ${ENGLISH_BED} stop ${CMAKE_BINARY_DIR})
set_tests_properties(english_bed_stop PROPERTIES FIXTURES_CLEANUP english_bed)
set_tests_properties(english_road PROPERTIES FIXTURES_REQUIRED english_bed)

# The program started from a folder named in GBK (code page 936), in a Chinese bed of its own.
set(CHINESE_BED env MIRLKA_LANG=zh_CN.UTF-8 ${WINE_ENV})
add_test(NAME chinese_folders COMMAND ${CHINESE_BED} run ${CMAKE_BINARY_DIR}
    $<TARGET_FILE:mirlka_e2e_tests> --gtest_filter=AppTest.AFolderOfAnyNameHoldsTheSettingsFile)
add_test(NAME chinese_bed_stop COMMAND ${CHINESE_BED} stop ${CMAKE_BINARY_DIR})
set_tests_properties(chinese_bed_stop PROPERTIES FIXTURES_CLEANUP chinese_bed)
set_tests_properties(chinese_folders PROPERTIES FIXTURES_REQUIRED chinese_bed)

# The about box at 150%, in a bed of that resolution, which the Japanese labels' check shares.
set(DPI144_BED env MIRLKA_DPI=144 ${WINE_ENV})
add_test(NAME about_box_at_144_dpi COMMAND ${DPI144_BED} run ${CMAKE_BINARY_DIR}
    $<TARGET_FILE:mirlka_win_tests> --gtest_filter=AboutBoxTest.ShowsTheWebSiteInABoldDescriptionCentredOverItsOwner)
add_test(NAME dpi144_bed_stop COMMAND ${DPI144_BED} stop ${CMAKE_BINARY_DIR})
set_tests_properties(dpi144_bed_stop PROPERTIES FIXTURES_CLEANUP dpi144_bed)
set_tests_properties(about_box_at_144_dpi PROPERTIES FIXTURES_REQUIRED dpi144_bed
    RESOURCE_LOCK ja_JP_144_bed)

# The main window's place on two displays, then on the primary one once the second is unplugged,
# in a bed of Xorg's dummy driver (scripts/two-displays.sh). Not in the 32-bit build: its tests run
# in the emulated guest, which has no Xorg.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(DISPLAYS_BED env MIRLKA_DISPLAYS=2 ${WINE_ENV})
    add_test(NAME two_displays COMMAND ${CMAKE_SOURCE_DIR}/scripts/two-displays.sh
        ${CMAKE_BINARY_DIR} $<TARGET_FILE:mirlka_e2e_tests>)
    add_test(NAME displays_bed_stop COMMAND ${DISPLAYS_BED} stop ${CMAKE_BINARY_DIR})
    set_tests_properties(displays_bed_stop PROPERTIES FIXTURES_CLEANUP displays_bed)
    set_tests_properties(two_displays PROPERTIES FIXTURES_REQUIRED displays_bed TIMEOUT 900)
else()
    message(STATUS "two_displays: not registered; the 32-bit build's tests run in the guest, "
        "which has no Xorg to show Wine two displays")
endif()

# Every label, button text and column title of the main window and the about box fits its control
# in both languages at 100, 150 and 200% (tools/fontfit in a bed of that locale and resolution).
foreach(language ja_JP en_US)
    foreach(dpi 96 144 192)
        add_test(NAME labels_fit_${language}_${dpi}
            COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/labels_fit.sh ${CMAKE_BINARY_DIR} ${language}.UTF-8 ${dpi})
    endforeach()
endforeach()
set_tests_properties(labels_fit_ja_JP_96 PROPERTIES FIXTURES_REQUIRED wine_bed)
set_tests_properties(labels_fit_ja_JP_144 PROPERTIES RESOURCE_LOCK ja_JP_144_bed)
set_tests_properties(labels_fit_en_US_96 PROPERTIES FIXTURES_REQUIRED english_bed)

# Execute of 256 tracks against the simulator next to a bare DDEML loop (a benchmark, not a test):
#   build/win64/wine-run build/win64/execute_bench.exe [repetitions] [simulator tracks]
add_executable(execute_bench ${CMAKE_SOURCE_DIR}/tools/bench/execute_bench.cpp)
target_link_libraries(execute_bench PRIVATE mirlka_shell mirlka_driver)
mirlka_warnings(execute_bench)
if(TARGET hostsim)
    add_dependencies(execute_bench hostsim)
endif()

# Start-up of mirlka.exe with 10,000 presets against an empty settings file (a benchmark):
#   build/win64/wine-run build/win64/startup_bench.exe [repetitions]
add_executable(startup_bench ${CMAKE_SOURCE_DIR}/tools/bench/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE ${MIRLKA_SYSTEM_LIBS})
target_include_directories(startup_bench PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_options(startup_bench PRIVATE ${MIRLKA_STATIC_LINK})
mirlka_warnings(startup_bench)
add_dependencies(startup_bench mirlka)
