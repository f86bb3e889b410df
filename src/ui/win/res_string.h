// Texts of the program's string table in the program's language, as the narrow interface gives them
// (bytes of the system's code page).
#pragma once

#include <windows.h>

#include <string>

namespace mirlka {

// Replaces `out` with entry `id` of `module`'s string table; a missing entry gives an empty text.
void LoadResString(std::string& out, UINT id, HINSTANCE module);

// The same, as a value.
std::string ResString(UINT id, HINSTANCE module);

// Entry `id` in `language` as it is stored, in UTF-16; empty when missing.
std::wstring ResStringIn(LANGID language, UINT id, HINSTANCE module);

}  // namespace mirlka
