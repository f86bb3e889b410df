// The path of the program's file, and the program's own files beside it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace mirlka {

// The full path of `module`'s file (the process's program for nullptr); empty when there is none
// or it would not fit a path buffer: a cut path names some other file.
std::string ModulePath(HINSTANCE module);

// `fileName` in the folder of `module`'s file; empty when that path cannot be had whole.
std::string FileBesideModule(HINSTANCE module, std::string_view fileName);

}  // namespace mirlka
