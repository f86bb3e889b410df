#include "base/win/code_page.h"

namespace mirlka {

bool IsSystemLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::optional<std::string> ExactAnsiText(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int units = static_cast<int>(text.size());
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), units, nullptr,
                                         0, nullptr, &lost);
    if (size <= 0 || lost) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), units, ansi.data(), size,
                        nullptr, nullptr);
    return ansi;
}

}  // namespace mirlka
