// The about box (dialog 100), with the maker's web site and the program's folder.
#pragma once

#include <windows.h>

namespace mirlka {

// Dialog procedure of the about box. The box reads its texts, its version block and the
// executable's path from the module it was created from, which is the program's own.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the about box modally over `owner`.
void ShowAboutBox(HWND owner);

}  // namespace mirlka
