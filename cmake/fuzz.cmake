# libFuzzer targets over the parts that read what users and hosts hand the program. Each runs for
# a bounded time as a test; a crash, a leak or a broken invariant fails it and leaves the input
# as build/fuzz/<target>.findings/crash-*. Run one for longer with, for example:
#   build/fuzz/settings_fuzz -max_total_time=600 build/fuzz/settings_fuzz.corpus tests/fuzz/corpus/settings
set(MIRLKA_FUZZ_SECONDS 8 CACHE STRING "How long each fuzz target runs as a test")
set(FUZZ_INSTRUMENT -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
target_compile_options(mirlka_core PUBLIC ${FUZZ_INSTRUMENT})
target_link_options(mirlka_core PUBLIC -fsanitize=address,undefined)

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" stem ${name})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE mirlka_core)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    mirlka_warnings(${name})
    # New inputs go to the build tree; the seed corpus in the source tree is only read.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/${name}.corpus ${CMAKE_BINARY_DIR}/${name}.findings)
    add_test(NAME ${name}
        COMMAND ${name} -max_total_time=${MIRLKA_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
                -artifact_prefix=${CMAKE_BINARY_DIR}/${name}.findings/
                ${CMAKE_BINARY_DIR}/${name}.corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${stem})
endforeach()
