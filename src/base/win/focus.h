// Keyboard focus in a dialog window whose controls are enabled and disabled as the user works.
#pragma once

#include <windows.h>

namespace mirlka {

// A control that lost its enabled state may have held the focus: then the next one gets it.
void EnsureFocus(HWND window);

}  // namespace mirlka
