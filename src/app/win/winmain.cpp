// Entry point of mirlka.exe: one copy at a time, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/win/main_window.h"
#include "base/ascii_case.h"
#include "base/paths.h"
#include "base/win/module_path.h"
#include "host/win/file_version.h"
#include "res/resource.h"
#include "ui/win/message_box.h"
#include "ui/win/ui_language.h"

namespace mirlka {
namespace {

// Two copies would each rewrite the whole settings file at exit, and the one that ends last would
// drop the presets the other had saved; so a second start hands over to the first.
constexpr char kInstanceMutex[] = MIRLKA_WINDOW_CLASS ".Instance";

// Brings the running copy's window to the front. Its window may not exist yet when both copies
// start together, so the search is repeated for a short while.
void ActivateRunningCopy() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (HWND running = FindWindowA(MIRLKA_WINDOW_CLASS, nullptr)) {
            if (IsIconic(running)) {
                ShowWindow(running, SW_RESTORE);
            }
            SetForegroundWindow(running);
            return;
        }
        Sleep(100);
    }
}

bool RegisterMainWindowClass(HINSTANCE instance, WNDCLASSA& dialogClass) {
    dialogClass.lpszClassName = MIRLKA_WINDOW_CLASS;
    dialogClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    dialogClass.cbWndExtra |= DLGWINDOWEXTRA;
    return RegisterClassA(&dialogClass) != 0;
}

// Ctrl with a key in an edit field is the field's own (select all, undo, redo, cut, copy, paste),
// not the window's command of the same key.
bool IsFieldShortcut(const MSG& message) {
    char className[8] = "";
    return message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
           GetClassNameA(message.hwnd, className, sizeof className) > 0 &&
           IsAsciiNameIgnoringCase(className, "Edit");
}

void RunMessageLoop(HWND window, HACCEL accelerators) {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            return;
        }
        if (accelerators && !IsFieldShortcut(message) &&
            TranslateAcceleratorA(window, accelerators, &message)) {
            continue;
        }
        if (IsDialogMessageA(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int Run(HINSTANCE instance) {
    WNDCLASSA dialogClass{};
    if (!GetClassInfoA(nullptr, "#32770", &dialogClass)) {
        ReportSystemError(GetLastError(), GetDesktopWindow());
        return 0;
    }
    UiLanguage();  // the language is chosen here, before the first text is shown
    const std::uint32_t commonControlsVersion = ReadFileVersion(L"comctl32.dll");
    if (!RegisterMainWindowClass(instance, dialogClass)) {
        ReportSystemError(GetLastError(), GetDesktopWindow());
        return 0;
    }
    // The main window's template holds a list view, whose class must exist before the dialog.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // "mirlka.ini" beside the executable; none when that path would not fit a path buffer, so
    // that nothing gets written to a cut path.
    HWND window = CreateMainWindow(instance, FileBesideModule(nullptr, kSettingsFileName),
                                   commonControlsVersion);
    if (!window) {
        ReportSystemError(GetLastError(), GetDesktopWindow());
        return 0;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    UpdateToolRegistrationOf(window);
    RunMessageLoop(window, LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS)));
    return 0;
}

}  // namespace
}  // namespace mirlka

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Held until the process ends; the system releases it then.
    HANDLE instanceMutex = CreateMutexA(nullptr, FALSE, mirlka::kInstanceMutex);
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        mirlka::ActivateRunningCopy();
        CloseHandle(instanceMutex);
        return 0;
    }
    return mirlka::Run(instance);
}
