// Texts of the program's string table, read through the narrow interface (code page 932 bytes).
#pragma once

#include <windows.h>

#include <string>

namespace mirlka {

// Replaces `out` with entry `id` of `module`'s string table; a missing entry gives an empty text.
void LoadResString(std::string& out, UINT id, HINSTANCE module);

// The same, as a value.
std::string ResString(UINT id, HINSTANCE module);

// The module whose string table serves a window: the instance the window was created with.
HINSTANCE WindowModule(HWND window);

}  // namespace mirlka
