#include "ui/win/res_string.h"

#include "ui/string_loader.h"

namespace mirlka {

void LoadResString(std::string& out, UINT id, HINSTANCE module) {
    out = LoadStringGrowing([module](unsigned entry, char* buffer,
                                     int size) { return LoadStringA(module, entry, buffer, size); },
                            id);
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
