// The system's ANSI code page: its lead bytes, and texts written in it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace mirlka {

// Whether `byte` starts a double-byte character in the system's ANSI code page, as the system
// reports it: Shift_JIS on a Japanese system, GBK, UHC or Big5 elsewhere in East Asia, none on a
// Western one.
bool IsSystemLeadByte(unsigned char byte);

// `text` in the ANSI code page as the system's A functions give it: a character that has no form
// there becomes "?" or a look-alike.
std::string AnsiText(std::wstring_view text);

// `text` in the ANSI code page, or nothing when some character of it has no form there (the system
// would put "?" or a look-alike in its place).
std::optional<std::string> ExactAnsiText(std::wstring_view text);

}  // namespace mirlka
