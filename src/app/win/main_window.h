// The program's one window: a modeless dialog of the class MiRlKaWnd made from template 101.
#pragma once

#include <windows.h>

namespace mirlka {

// The main window's dialog procedure: TRUE for the messages it handles, FALSE for the dialog
// manager's.
INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mirlka
