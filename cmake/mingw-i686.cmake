# The shipped program: 32-bit Windows, Debian's mingw-w64 (posix thread model).
set(MIRLKA_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
