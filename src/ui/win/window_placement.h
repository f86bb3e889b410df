// Where the program's windows go on the displays: a dialog centred over its owner on the owner's
// display, the main window on a display whatever place was saved for it.
#pragma once

#include <windows.h>

namespace mirlka {

// Moves a top-level window to the centre of its visible owner (or of the work area), clamped to
// the work area of the owner's display (without one, of the primary display).
void CenterWindow(HWND window);

// Moves the window's top-left corner to (left, top), or, where it would then show on no
// display's work area, onto the nearest one. The size stays; the window is not activated.
void PlaceWindowOnScreen(HWND window, int left, int top);

}  // namespace mirlka
