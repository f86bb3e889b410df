#include "ui/win/message_box.h"

#include "base/win/library_function.h"
#include "base/win/owned.h"
#include "base/win/window_module.h"
#include "res/resource.h"
#include "ui/message_text.h"
#include "ui/win/res_string.h"
#include "ui/win/window_placement.h"

namespace mirlka {

namespace {

// The hook of the message boxes of the user-interface thread, the only one that shows them.
HHOOK centeringHook = nullptr;

// The start-up failure report is owned by the desktop, a window of the system: its texts come from
// the program's own table, whatever module the platform reports for the desktop.
HINSTANCE MessageModule(HWND owner) {
    if (owner == nullptr || owner == GetDesktopWindow()) {
        return GetModuleHandleA(nullptr);
    }
    return WindowModule(owner);
}

}  // namespace

MessageBoxCentering::MessageBoxCentering(DWORD threadId) {
    if (!centeringHook) {
        // Watching the return of WM_INITDIALOG rather than its arrival: a message box that places
        // itself while it initialises (Wine's does) would otherwise undo the centring.
        centeringHook = SetWindowsHookExA(WH_CALLWNDPROCRET, CenteringHookProc, nullptr, threadId);
    }
}

MessageBoxCentering::~MessageBoxCentering() {
    // The slot is shared: an inner box ends the hook of the outer one, which is centred already.
    if (centeringHook) {
        UnhookWindowsHookEx(centeringHook);
        centeringHook = nullptr;
    }
}

LRESULT CALLBACK CenteringHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_INITDIALOG) {
            CenterWindow(call->hwnd);
        }
    }
    return CallNextHookEx(centeringHook, code, wParam, lParam);
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
