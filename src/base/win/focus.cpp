#include "base/win/focus.h"

namespace mirlka {

void EnsureFocus(HWND window) {
    if (!GetFocus()) {
        SendMessageA(window, WM_NEXTDLGCTL, 0, 0);
    }
}

}  // namespace mirlka
