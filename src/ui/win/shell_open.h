// The program's file, the manual beside it, and documents opened with their default handlers.
#pragma once

#include <windows.h>

namespace mirlka {

// The full path of `module`'s file. False when there is none or it was cut to fit the buffer.
bool ModulePath(HINSTANCE module, char (&buffer)[MAX_PATH]);

// The manual's path: mirlka.html in the executable's folder. False, with an empty buffer, when
// the executable's path cannot be had or the manual's path would not fit the buffer.
bool GetManualPath(char (&buffer)[MAX_PATH]);

// Opens a document or an address with its default handler; a failure is reported to the user
// with the system's wording.
void OpenWithShell(const char* target, HWND owner);

// Opens the manual over `owner`, or tells the user why it cannot be opened.
void OpenManual(HWND owner);

}  // namespace mirlka
