#include "ui/win/language_resources.h"

namespace mirlka {

std::string_view FindResourceIn(LANGID language, HINSTANCE module, LPCSTR type, UINT id) {
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string_view(static_cast<const char*>(bytes), SizeofResource(module, found))
                 : std::string_view();
}

namespace {

const DLGTEMPLATE* DialogTemplate(LANGID language, HINSTANCE module, UINT id) {
    const std::string_view found = FindResourceIn(language, module, RT_DIALOG, id);
    return found.empty() ? nullptr : reinterpret_cast<const DLGTEMPLATE*>(found.data());
}

}  // namespace

HWND CreateDialogIn(LANGID language, HINSTANCE module, UINT id, HWND owner, DLGPROC procedure,
                    LPARAM parameter) {
    const DLGTEMPLATE* dialog = DialogTemplate(language, module, id);
    if (dialog == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return CreateDialogIndirectParamA(module, dialog, owner, procedure, parameter);
}

INT_PTR DialogBoxIn(LANGID language, HINSTANCE module, UINT id, HWND owner, DLGPROC procedure,
                    LPARAM parameter) {
    const DLGTEMPLATE* dialog = DialogTemplate(language, module, id);
    return dialog ? DialogBoxIndirectParamA(module, dialog, owner, procedure, parameter) : -1;
}

HMENU LoadMenuIn(LANGID language, HINSTANCE module, UINT id) {
    const std::string_view found = FindResourceIn(language, module, RT_MENU, id);
    return found.empty() ? nullptr : LoadMenuIndirectA(found.data());
}

}  // namespace mirlka
