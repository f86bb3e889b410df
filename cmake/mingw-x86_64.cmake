# The same sources for 64-bit Windows: the build that the Wine tests run, on kernels that cannot
# execute 32-bit code (and so cannot run 32-bit Wine).
set(MIRLKA_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex and std::thread, which GCC 12 offers only
# there. The program itself starts no thread.
set(MIRLKA_THREAD_MODEL posix)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
