# The Windows side: mirlka.exe, its resources, the host simulator and the tests that run under Wine.
enable_language(RC)
# The manifest names the program's own architecture; the common controls it asks for are the
# same in both builds.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MIRLKA_MANIFEST_ARCH amd64)
else()
    set(MIRLKA_MANIFEST_ARCH x86)
endif()
# The version is the project's: the resource script's version block and the manifest take it from
# there. Users know it as major.minor with two digits of minor ("1.01").
string(REGEX REPLACE "^([0-9])$" "0\\1" minor_2 "${PROJECT_VERSION_MINOR}")
set(MIRLKA_SHORT_VERSION ${PROJECT_VERSION_MAJOR}.${minor_2})
configure_file(${CMAKE_SOURCE_DIR}/src/res/mirlka.manifest.in ${CMAKE_BINARY_DIR}/res/mirlka.manifest
    @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/res/version.h.in ${CMAKE_BINARY_DIR}/res/version.h @ONLY)
# The folder of the manifest and the version as an include folder, which CMake quotes (a build path
# may hold blanks).
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/res/mirlka.rc
    PROPERTIES OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/res/mirlka.manifest;${CMAKE_BINARY_DIR}/res/version.h"
    INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/res)

set(WINE_ENV ${CMAKE_SOURCE_DIR}/scripts/wine-env.sh)
# One program path, not a list: test discovery does not split an emulator list.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine-run
    CONTENT "#!/bin/sh\nexec '${WINE_ENV}' run '${CMAKE_BINARY_DIR}' \"$@\"\n" @ONLY)
file(CHMOD ${CMAKE_BINARY_DIR}/wine-run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

set(MIRLKA_STATIC_LINK -static -static-libgcc -static-libstdc++)
target_compile_definitions(mirlka_core PUBLIC WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0500)
target_link_options(mirlka_core PUBLIC ${MIRLKA_STATIC_LINK})

file(GLOB MIRLKA_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/win/*.cpp)
list(FILTER MIRLKA_SHELL_SOURCES EXCLUDE REGEX "/(winmain|fatal_errors|settings_file_win|durable_write)\\.cpp$")
# The core's one link-time seam: the settings file read and replaced by the system's W functions,
# through the durable write that the CAL program file shares.
target_sources(mirlka_core PRIVATE ${CMAKE_SOURCE_DIR}/src/settings/win/settings_file_win.cpp
    ${CMAKE_SOURCE_DIR}/src/base/win/durable_write.cpp)
set(MIRLKA_SYSTEM_LIBS comctl32 comdlg32 shell32 user32 gdi32 kernel32 advapi32)

add_library(mirlka_shell STATIC ${MIRLKA_SHELL_SOURCES})
target_link_libraries(mirlka_shell PUBLIC mirlka_core ${MIRLKA_SYSTEM_LIBS})
mirlka_warnings(mirlka_shell)

add_executable(mirlka WIN32 ${CMAKE_SOURCE_DIR}/src/app/win/winmain.cpp
    ${CMAKE_SOURCE_DIR}/src/app/win/fatal_errors.cpp ${CMAKE_SOURCE_DIR}/src/res/mirlka.rc)
target_link_libraries(mirlka PRIVATE mirlka_shell)
set_target_properties(mirlka PROPERTIES OUTPUT_NAME mirlka)
target_link_options(mirlka PRIVATE -s -Wl,-Map=${CMAKE_BINARY_DIR}/mirlka.map)
mirlka_warnings(mirlka)

# The shipped program must load on every Windows it supports: it imports exactly the reviewed
# list of system functions.
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT MIRLKA_SHIPPED_EXE)
    add_test(NAME mirlka_imports_are_the_reviewed_list
        COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check_imports.sh ${CMAKE_BINARY_DIR}/mirlka.exe
                ${MIRLKA_MINGW_TRIPLET}-objdump ${CMAKE_SOURCE_DIR}/tests/data/imports-win32.txt)
endif()

# The host simulator: a DDE peer that stands in for the host sequencer in tests and demos.
file(GLOB HOSTSIM_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/hostsim/win/*.cpp)
if(HOSTSIM_WIN_SOURCES)
    add_executable(hostsim WIN32 ${HOSTSIM_WIN_SOURCES})
    target_link_libraries(hostsim PRIVATE hostsim_core ${MIRLKA_SYSTEM_LIBS})
    mirlka_warnings(hostsim)
endif()

# Drives mirlka.exe and the host simulator from another process, as a user would: the demo, the
# benchmarks and the end-to-end tests use it.
file(GLOB MIRLKA_DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/driver/win/*.cpp)
add_library(mirlka_driver STATIC ${MIRLKA_DRIVER_SOURCES})
target_include_directories(mirlka_driver PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(mirlka_driver PUBLIC mirlka_core ${MIRLKA_SYSTEM_LIBS})
mirlka_warnings(mirlka_driver)

# The Help menu opens the manual beside the program.
add_custom_command(TARGET mirlka POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/docs/mirlka.html
            $<TARGET_FILE_DIR:mirlka>/mirlka.html
    VERBATIM)

# The distributable: the shipped 32-bit program with its manual and read-me, in one ZIP.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    install(TARGETS mirlka RUNTIME DESTINATION .)
    install(FILES ${CMAKE_SOURCE_DIR}/docs/mirlka.html ${CMAKE_SOURCE_DIR}/docs/readme.txt
            DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_NAME mirlka)
    set(CPACK_PACKAGE_VERSION ${MIRLKA_SHORT_VERSION})
    set(CPACK_PACKAGE_FILE_NAME mirlka-${MIRLKA_SHORT_VERSION})
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    include(CPack)
endif()

# How the labels of the program's dialogs fit the dialog font of a Wine prefix (a measuring tool,
# run by scripts/measure-fonts.sh).
add_executable(fontfit ${CMAKE_SOURCE_DIR}/tools/fontfit/fontfit_main.cpp)
target_link_libraries(fontfit PRIVATE mirlka_shell version)
target_link_options(fontfit PRIVATE -municode ${MIRLKA_STATIC_LINK})
mirlka_warnings(fontfit)
add_dependencies(fontfit mirlka)

# A scripted session with the program and the host simulator, for scripts/run.sh: it prints the
# song before and after Execute and asks for screenshots at the moments that matter.
add_executable(demo ${CMAKE_SOURCE_DIR}/tools/demo/demo_main.cpp)
target_include_directories(demo PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(demo PRIVATE mirlka_driver)
mirlka_warnings(demo)
add_dependencies(demo mirlka)
if(TARGET hostsim)
    add_dependencies(demo hostsim)
endif()

# The 32-bit test build, where a machine runs 32-bit Wine: its tests start the shipped program,
# copied over the one built here, in a 32-bit prefix.
set(MIRLKA_SHIPPED_EXE "" CACHE FILEPATH "The shipped mirlka.exe that a 32-bit test build runs")
if(MIRLKA_SHIPPED_EXE)
    file(WRITE ${CMAKE_BINARY_DIR}/wine32 "")
    add_custom_command(TARGET mirlka POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy ${MIRLKA_SHIPPED_EXE} $<TARGET_FILE:mirlka> VERBATIM)
endif()

# Last, so that every program the tests start is already a target.
if(CMAKE_SIZEOF_VOID_P EQUAL 8 OR MIRLKA_SHIPPED_EXE)
    include(${CMAKE_SOURCE_DIR}/cmake/wine-tests.cmake)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT MIRLKA_SHIPPED_EXE)
    add_test(NAME distributable_zip_contents
        COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check_package.sh ${CMAKE_BINARY_DIR})
endif()
