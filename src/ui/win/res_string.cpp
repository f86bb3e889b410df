#include "ui/win/res_string.h"

#include "base/win/code_page.h"
#include "ui/string_loader.h"
#include "ui/win/language_resources.h"
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
    out = AnsiText(ResStringIn(UiLanguage(), id, module));
}

std::string ResString(UINT id, HINSTANCE module) {
    std::string text;
    LoadResString(text, id, module);
    return text;
}

}  // namespace mirlka
