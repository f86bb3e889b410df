// The path of the program's file, and the program's own files beside it, in UTF-16: a folder of
// any name keeps its characters, where the ANSI form would turn those the code page lacks into "?".
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace mirlka {

// The full path of `module`'s file (the process's program for nullptr); empty when there is none
// or it would not fit a path buffer: a cut path names some other file.
std::wstring ModulePath(HINSTANCE module);

// `fileName` in the folder of `module`'s file; empty when that path cannot be had whole.
std::wstring FileBesideModule(HINSTANCE module, std::wstring_view fileName);

// `fileName` in a folder of the system's, as `getFolder` (GetSystemDirectoryW,
// GetWindowsDirectoryW) names it: a full path, so that no search finds another copy first. Empty
// when the folder cannot be had.
std::wstring FileInSystemFolder(UINT(WINAPI* getFolder)(LPWSTR, UINT), std::wstring_view fileName);

}  // namespace mirlka
