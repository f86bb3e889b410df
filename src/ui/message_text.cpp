#include "ui/message_text.h"

#include "ui/string_ids.h"

namespace mirlka {

unsigned TitleIdForType(std::uint32_t mbType) {
    switch (mbType & 0xF0) {
        case 0x10:
            return kIdsTitleError;
        case 0x20:
            return kIdsTitleConfirm;
        case 0x30:
            return kIdsTitleWarning;
        case 0x40:
            return kIdsTitleInformation;
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
