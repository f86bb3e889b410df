// Names and keys of the settings file compare without regard to letter case: only single-byte
// 'A' to 'Z' equal 'a' to 'z'. The second byte of a double-byte character may be a letter's byte
// ("ア" is 83 41, "ヂ" 83 61), so the text is read character by character with the code page's
// lead bytes and such a byte is compared as it stands. No locale takes part.
#pragma once

#include <string>
#include <string_view>

#include "base/lead_bytes.h"

namespace mirlka {

inline char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// `text` with its single-byte letters in small letters: two texts fold alike exactly when
// EqualsIgnoringAsciiCase holds for them.
std::string FoldAsciiCase(std::string_view text, LeadByteFn isLeadByte);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b, LeadByteFn isLeadByte);

// Whether `text` is `asciiName` in any letter case. A double-byte character never equals an ASCII
// one, so no code page's lead bytes can change this answer.
bool IsAsciiNameIgnoringCase(std::string_view text, std::string_view asciiName);

}  // namespace mirlka
