// Names and keys of the settings file compare without regard to letter case, byte by byte: only
// 'A' to 'Z' equal 'a' to 'z'. Bytes of double-byte characters are not decoded, so they fold by
// the same rule; no locale takes part.
#pragma once

#include <string_view>

namespace mirlka {

inline char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace mirlka
