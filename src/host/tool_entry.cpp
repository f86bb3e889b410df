#include "host/tool_entry.h"

namespace mirlka {

std::string ToolDisplayText(std::string_view name, std::uint32_t fileVersion) {
    std::string text(name);
    text += ' ';
    text += std::to_string(fileVersion >> 16);
    text += '.';
    text += std::to_string(fileVersion & 0xFFFFu);
    return text;
}

}  // namespace mirlka
