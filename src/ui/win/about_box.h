// The about box (dialog 100), the manual beside the executable and the maker's web site.
#pragma once

#include <windows.h>

namespace mirlka {

// Dialog procedure of the about box. The box reads its texts, its version block and the
// executable's path from the module it was created from, which is the program's own.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the about box modally over `owner`.
void ShowAboutBox(HWND owner);

// The manual's path: mirlka.html in the executable's folder. False, with an empty buffer, when
// the executable's path cannot be had or the manual's path would not fit the buffer.
bool GetManualPath(char (&buffer)[MAX_PATH]);

// Opens a document or an address with its default handler; a failure is reported to the user
// with the system's wording.
void OpenWithShell(const char* target, HWND owner);

// Opens the manual over `owner`, or tells the user why it cannot be opened.
void OpenManual(HWND owner);

}  // namespace mirlka
