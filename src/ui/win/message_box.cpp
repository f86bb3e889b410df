#include "ui/win/message_box.h"

#include "base/win/library_function.h"
#include "base/win/owned.h"
#include "base/win/window_module.h"
#include "res/resource.h"
#include "ui/centering.h"
#include "ui/message_text.h"
#include "ui/win/res_string.h"

namespace mirlka {

namespace {

using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

// One per process, touched only from the user-interface thread. The function slots outlive the
// library reference: the program links against user32 itself, so the functions stay loaded.
struct CenteringState {
    int guardCount = 0;
    HHOOK hook = nullptr;
    HMODULE library = nullptr;
    MonitorFromWindowFn monitorFromWindow = nullptr;
    GetMonitorInfoFn getMonitorInfo = nullptr;
};

CenteringState centering;

// The start-up failure report is owned by the desktop, a window of the system: its texts come from
// the program's own table, whatever module the platform reports for the desktop.
HINSTANCE MessageModule(HWND owner) {
    if (owner == nullptr || owner == GetDesktopWindow()) {
        return GetModuleHandleA(nullptr);
    }
    return WindowModule(owner);
}

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

Rect WorkArea(HWND owner) {
    if (centering.monitorFromWindow && centering.getMonitorInfo) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        HMONITOR monitor = centering.monitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
        if (centering.getMonitorInfo(monitor, &info)) {
            return ToRect(info.rcWork);
        }
    }
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return ToRect(area);
}

}  // namespace

MessageBoxCentering::MessageBoxCentering(DWORD threadId) {
    if (centering.guardCount++ == 0) {
        centering.library = LoadLibraryA("user32.dll");
        if (centering.library) {
            centering.monitorFromWindow =
                LookUpFunction<MonitorFromWindowFn>(centering.library, "MonitorFromWindow");
            centering.getMonitorInfo =
                LookUpFunction<GetMonitorInfoFn>(centering.library, "GetMonitorInfoA");
        }
    }
    if (!centering.hook) {
        // Watching the return of WM_INITDIALOG rather than its arrival: a message box that places
        // itself while it initialises (Wine's does) would otherwise undo the centring.
        centering.hook = SetWindowsHookExA(WH_CALLWNDPROCRET, CenteringHookProc, nullptr, threadId);
    }
}

MessageBoxCentering::~MessageBoxCentering() {
    // The slot is shared: an inner box ends the hook of the outer one, which is centred already.
    if (centering.hook) {
        UnhookWindowsHookEx(centering.hook);
        centering.hook = nullptr;
    }
    if (--centering.guardCount == 0 && centering.library) {
        FreeLibrary(centering.library);
        centering.library = nullptr;
    }
}

LRESULT CALLBACK CenteringHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_INITDIALOG) {
            CenterWindow(call->hwnd);
        }
    }
    return CallNextHookEx(centering.hook, code, wParam, lParam);
}

void CenterWindow(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner) {
        const LONG style = GetWindowLongA(owner, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) {
            owner = nullptr;
        }
    }
    RECT own{};
    GetWindowRect(window, &own);
    const Rect area = WorkArea(owner);
    Rect reference = area;
    if (owner) {
        RECT ownerRect{};
        GetWindowRect(owner, &ownerRect);
        reference = ToRect(ownerRect);
    }
    const Point at = CenteredPosition(reference, area, own.right - own.left, own.bottom - own.top);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowMessageBox(HWND owner, std::string_view text, std::optional<std::string_view> prefix,
                   UINT type) {
    const std::string message = ComposeMessage(text, prefix);
    const HINSTANCE module = MessageModule(owner);
    MessageBoxCentering guard(GetCurrentThreadId());
    std::string title;
    if (const unsigned titleId = TitleIdForType(type)) {
        LoadResString(title, titleId, module);
    }
    // An empty title rather than none: the platform would put its own word in the title bar.
    return MessageBoxA(owner, message.c_str(), title.c_str(), type);
}

int ShowMessageBoxById(HWND owner, UINT id, UINT type, std::optional<std::string_view> prefix) {
    return ShowMessageBox(owner, ResString(id, MessageModule(owner)), prefix, type);
}

void GetSystemErrorText(DWORD code, HINSTANCE module, std::string& out) {
    // Without arguments, a system text that wants inserts is refused by the system, so such a
    // code falls back to the program's own wording instead of showing placeholders.
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
                       LANG_SYSTEM_DEFAULT, reinterpret_cast<char*>(&buffer), 0, nullptr);
    const OwnedLocal owned(buffer);
    if (length != 0 && buffer) {
        out.assign(buffer, length);
        return;
    }
    LoadResString(out, IDS_UNEXPECTED_ERROR, module);
}

void ReportSystemError(DWORD code, HWND owner) {
    if (code == 0) {
        return;
    }
    std::string text;
    GetSystemErrorText(code, MessageModule(owner), text);
    ShowMessageBox(owner, text, std::nullopt, MB_OK | MB_ICONHAND);
}

}  // namespace mirlka
