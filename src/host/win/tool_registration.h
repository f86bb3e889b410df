// The program's entry in the host's Tools menu.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace mirlka {

// Deletes the key `name` below `parent` with every key beneath it, deepest first. Returns the
// error code of the step that stopped the walk, 0 when the key is gone. A failure leaves the
// failing key and every key above it in place.
LONG DeleteKeyTree(HKEY parent, const char* name);

// Writes the Tools-menu entry for the program file `exePath` when `addCakewalkTool` is non-zero,
// deletes it with everything below it when it is 0. Key path, value names and texts come from
// `module`'s string table. The host reads ExePath in the ANSI code page: it gets the short form of
// `exePath`, or without one the full path. Returns the result of creating or deleting the key, 0
// on success; ERROR_NO_UNICODE_TRANSLATION, with the entry left as it was, when neither form can
// be written in the code page.
LONG ApplyToolRegistration(std::int32_t addCakewalkTool, HINSTANCE module,
                           const std::wstring& exePath);

// Brings the entry of `module`'s own file in line with the AddCakewalkTool flag.
void UpdateToolRegistration(std::int32_t addCakewalkTool, HINSTANCE module);

}  // namespace mirlka
