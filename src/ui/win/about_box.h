// The about box (dialog 100), with the maker's web site and the program's folder.
#pragma once

#include <windows.h>

namespace mirlka {

// Runs the about box modally over `owner`. The box reads its texts, its version block and the
// executable's path from the owner's module, which is the program's own.
void ShowAboutBox(HWND owner);

}  // namespace mirlka
