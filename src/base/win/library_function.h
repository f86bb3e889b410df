// Functions that a library may or may not have, found at run time.
#pragma once

#include <windows.h>

namespace mirlka {

// A function of a loaded library, or nullptr; going through void(*)() keeps the conversion from
// FARPROC free of cast warnings.
template <typename Fn>
Fn LookUpFunction(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace mirlka
