// Entry point of mirlka.exe.
#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"
#include "ui/string_ids.h"
#include "ui/win/res_string.h"

namespace {

INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextA(window, mirlka::ResString(mirlka::kIdsMainWindowTitle,
                                                     mirlka::WindowModule(window))
                                       .c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_EXIT) {
                DestroyWindow(window);
            }
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The main window's template holds a list view, whose class must exist before the dialog.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, "#32770", &wc)) {
        return 0;
    }
    wc.lpszClassName = "MiRlKaWnd";
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.cbWndExtra |= DLGWINDOWEXTRA;
    if (!RegisterClassA(&wc)) {
        return 0;
    }
    HWND window =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0);
    if (!window) {
        return 0;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}
