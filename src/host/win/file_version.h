// The version of a program file, as its version resource gives it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace mirlka {

// The file's version: major in the high 16 bits, minor in the low 16 bits; 0 when the file has no
// version information or it cannot be read.
std::uint32_t ReadFileVersion(const wchar_t* path);

}  // namespace mirlka
