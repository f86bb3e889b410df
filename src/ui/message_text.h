// The platform-free parts of a message box: its title and its text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirlka {

// Message-box types the program shows (button set | icon), with the same values as MB_*.
inline constexpr std::uint32_t kMbError = 0x10;      // MB_OK | MB_ICONHAND
inline constexpr std::uint32_t kMbAskYesNo = 0x24;   // MB_YESNO | MB_ICONQUESTION
inline constexpr std::uint32_t kMbWarning = 0x30;    // MB_OK | MB_ICONEXCLAMATION
inline constexpr std::uint32_t kMbWarnYesNo = 0x34;  // MB_YESNO | MB_ICONEXCLAMATION

// Button results that callers test, with the same values as IDYES and IDNO.
inline constexpr int kButtonYes = 6;
inline constexpr int kButtonNo = 7;

// The string id of the title that belongs to the icon of a message-box type, or 0 for a box
// without a known icon, whose title is then empty.
unsigned TitleIdForType(std::uint32_t mbType);

// The text shown in a box: the prefix, when there is one, followed directly by the text. The
// prefixes that callers pass end in a line break of their own.
std::string ComposeMessage(std::string_view text, std::optional<std::string_view> prefix);

}  // namespace mirlka
