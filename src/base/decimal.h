// Numbers in the settings file are plain signed decimal text. Reading is forgiving, like C's
// atoi, because the file may have been edited by hand.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirlka {

// Skips leading blanks (space, \t \n \v \f \r), takes an optional + or -, then digits up to the
// first other byte. No digits reads as 0; values beyond the 32-bit range saturate to
// INT32_MIN / INT32_MAX, as the Windows C runtime's atoi does.
std::int32_t ReadDecimal(std::string_view text);

// Signed decimal without leading zeros, as %d prints it.
std::string WriteDecimal(std::int32_t value);

}  // namespace mirlka
