// The manual beside the program, and documents opened with their default handlers.
#pragma once

#include <windows.h>

#include <string>

namespace mirlka {

// The manual's path: mirlka.html in the folder of `module`'s file. Empty when the module's path
// cannot be had or the manual's path would not fit a path buffer.
std::wstring ManualPath(HINSTANCE module);

// Opens a document or an address with its default handler; a failure is reported to the user
// with the system's wording.
void OpenWithShell(const char* target, HWND owner);

// Opens the manual of the owner's module over `owner`, or tells the user why it cannot be opened.
void OpenManual(HWND owner);

}  // namespace mirlka
