# The shipped program: 32-bit Windows, Debian's mingw-w64.
set(MIRLKA_MINGW_TRIPLET i686-w64-mingw32)
# The win32 thread model links no threading runtime (the posix model's libwinpthread imports
# functions that Windows XP lacks); the program has one thread. The 32-bit test build takes the
# posix model for GoogleTest and runs the shipped program beside its tests.
if(NOT DEFINED MIRLKA_THREAD_MODEL)
    set(MIRLKA_THREAD_MODEL win32)
endif()
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
