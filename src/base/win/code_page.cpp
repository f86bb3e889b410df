#include "base/win/code_page.h"

namespace mirlka {

bool IsSystemLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

namespace {

// `text` through the ANSI code page; `lost`, when given, tells whether a character had no form.
std::string ToAnsiCodePage(std::wstring_view text, DWORD flags, BOOL* lost) {
    const int units = static_cast<int>(text.size());
    const int size = text.empty() ? 0
                                  : WideCharToMultiByte(CP_ACP, flags, text.data(), units, nullptr,
                                                        0, nullptr, lost);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (!ansi.empty()) {
        WideCharToMultiByte(CP_ACP, flags, text.data(), units, ansi.data(), size, nullptr, nullptr);
    }
    return ansi;
}

}  // namespace

std::string AnsiText(std::wstring_view text) {
    return ToAnsiCodePage(text, 0, nullptr);
}

std::optional<std::string> ExactAnsiText(std::wstring_view text) {
    BOOL lost = FALSE;
    std::string ansi = ToAnsiCodePage(text, WC_NO_BEST_FIT_CHARS, &lost);
    if (lost || ansi.empty() != text.empty()) {
        return std::nullopt;
    }
    return ansi;
}

}  // namespace mirlka
