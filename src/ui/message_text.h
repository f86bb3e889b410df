// The platform-free parts of a message box: its title and its text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirlka {

// The string id of the title that belongs to the icon of a message-box type (the platform's MB_
// flags), or 0 for a box without a known icon, whose title is then empty.
unsigned TitleIdForType(std::uint32_t mbType);

// The text shown in a box: the prefix, when there is one, followed directly by the text. The
// prefixes that callers pass end in a line break of their own.
std::string ComposeMessage(std::string_view text, std::optional<std::string_view> prefix);

}  // namespace mirlka
