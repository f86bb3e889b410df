#include "ui/win/res_string.h"

#include "ui/string_loader.h"
#include "ui/win/ui_language.h"

namespace mirlka {

std::wstring ResStringIn(LANGID language, UINT id, HINSTANCE module) {
    const std::string_view block = FindResourceIn(language, module, RT_STRING, StringBlockId(id));
    const auto entry = StringBlockEntry(
        std::u16string_view(reinterpret_cast<const char16_t*>(block.data()), block.size() / 2), id);
    return entry ? std::wstring(entry->begin(), entry->end()) : std::wstring();
}

void LoadResString(std::string& out, UINT id, HINSTANCE module) {
    // As LoadStringA gives it: through the system's code page.
    const std::wstring wide = ResStringIn(UiLanguage(), id, module);
    const int units = static_cast<int>(wide.size());
    out.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr)));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
}

std::string ResString(UINT id, HINSTANCE module) {
    std::string text;
    LoadResString(text, id, module);
    return text;
}

HINSTANCE WindowModule(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

}  // namespace mirlka
