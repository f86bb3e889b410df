// Message boxes and error reports: the only way the program talks to the user outside its windows.
// The title follows from the box's icon; the box is centred over its owner and kept inside the
// work area of the owner's display (ui/win/window_placement.h).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace mirlka {

// Shows `prefix` + `text` with the title that belongs to the icon of `type`; returns the button.
int ShowMessageBox(HWND owner, std::string_view text, std::optional<std::string_view> prefix,
                   UINT type);

// The same with the text of string-table entry `id` of the owner's module.
int ShowMessageBoxById(HWND owner, UINT id, UINT type,
                       std::optional<std::string_view> prefix = std::nullopt);

// The system's wording for `code`, or string 148 of `module` when the system has none.
void GetSystemErrorText(DWORD code, HINSTANCE module, std::string& out);

// An error box with the system's wording for `code`; code 0 shows nothing.
void ReportSystemError(DWORD code, HWND owner);

// Called by the window manager when a window of the hooked thread has handled a message: a dialog
// that has just initialised (a message box placing itself included) is centred.
LRESULT CALLBACK CenteringHookProc(int code, WPARAM wParam, LPARAM lParam);

// Centres every message box that the calling thread opens while the guard lives.
class MessageBoxCentering {
  public:
    explicit MessageBoxCentering(DWORD threadId);
    virtual ~MessageBoxCentering();
    MessageBoxCentering(const MessageBoxCentering&) = delete;
    MessageBoxCentering& operator=(const MessageBoxCentering&) = delete;
};

}  // namespace mirlka
