// Resources of one language: each is looked up in that language explicitly, since Vista and later
// pick a resource by the user's UI language and XP by the thread locale.
#pragma once

#include <windows.h>

#include <string_view>

namespace mirlka {

// The bytes of resource `id` of `type` in `language`; empty when there is none.
std::string_view FindResourceIn(LANGID language, HINSTANCE module, LPCSTR type, UINT id);

// Dialog `id` in `language`, modeless or modal; as CreateDialogParamA and DialogBoxParamA.
HWND CreateDialogIn(LANGID language, HINSTANCE module, UINT id, HWND owner, DLGPROC procedure,
                    LPARAM parameter);
INT_PTR DialogBoxIn(LANGID language, HINSTANCE module, UINT id, HWND owner, DLGPROC procedure,
                    LPARAM parameter);

// Menu `id` in `language`, or null.
HMENU LoadMenuIn(LANGID language, HINSTANCE module, UINT id);

}  // namespace mirlka
