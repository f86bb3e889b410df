// The module a window belongs to.
#pragma once

#include <windows.h>

namespace mirlka {

// The module whose resources serve a window: the instance the window was created with.
inline HINSTANCE WindowModule(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

}  // namespace mirlka
