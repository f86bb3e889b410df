// The language of the program's face and its resources in that language. The texts are shown
// through the system's ANSI code page: Japanese where that is Japanese (932), English elsewhere,
// whose texts every code page can show. Each resource is looked up in that language explicitly,
// since Vista and later pick a resource by the user's UI language and XP by the thread locale.
#pragma once

#include <windows.h>

#include <string_view>

namespace mirlka {

// Chosen once, from the code page the process started with.
LANGID UiLanguage();

// The bytes of resource `id` of `type` in `language`; empty when there is none.
std::string_view FindResourceIn(LANGID language, HINSTANCE module, LPCSTR type, UINT id);

// Dialog `id` in `language`, modeless or modal; as CreateDialogParamA and DialogBoxParamA.
HWND CreateDialogIn(LANGID language, HINSTANCE module, UINT id, HWND owner, DLGPROC procedure,
                    LPARAM parameter);
INT_PTR DialogBoxIn(LANGID language, HINSTANCE module, UINT id, HWND owner, DLGPROC procedure,
                    LPARAM parameter);

// Menu `id` in `language`, or null.
HMENU LoadMenuIn(LANGID language, HINSTANCE module, UINT id);

// A size given in pixels at 96 DPI, at the system's DPI: the program declares itself DPI-aware,
// so the system no longer stretches its windows and every size it sets in pixels must grow with
// the dialog units.
int ScaleToSystemDpi(int pixels);

}  // namespace mirlka
