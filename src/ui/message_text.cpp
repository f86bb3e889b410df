#include "ui/message_text.h"

#include "res/resource.h"

namespace mirlka {

unsigned TitleIdForType(std::uint32_t mbType) {
    // The icon is the type's second hexadecimal digit: hand, question, exclamation, asterisk.
    constexpr std::uint32_t kIconMask = 0xF0;
    switch (mbType & kIconMask) {
        case 0x10:
            return IDS_TITLE_ERROR;
        case 0x20:
            return IDS_TITLE_CONFIRM;
        case 0x30:
            return IDS_TITLE_WARNING;
        case 0x40:
            return IDS_TITLE_INFORMATION;
        default:
            return 0;
    }
}

std::string ComposeMessage(std::string_view text, std::optional<std::string_view> prefix) {
    std::string message;
    if (prefix) {
        message.reserve(prefix->size() + text.size());
        message.append(*prefix);
    }
    message.append(text);
    return message;
}

}  // namespace mirlka
