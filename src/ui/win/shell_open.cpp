#include "ui/win/shell_open.h"

#include <shellapi.h>

#include "base/paths.h"
#include "base/win/module_path.h"
#include "base/win/window_module.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"

namespace mirlka {

namespace {

void ReportShellFailure(HINSTANCE result, HWND owner) {
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        ReportSystemError(GetLastError(), owner);
    }
}

}  // namespace

std::wstring ManualPath(HINSTANCE module) {
    return FileBesideModule(module, kManualFileName);
}

void OpenWithShell(const char* target, HWND owner) {
    ReportShellFailure(ShellExecuteA(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL),
                       owner);
}

// A folder too deep for the path buffer is refused with the system's wording for a name that is
// too long: a cut path could open some other file.
void OpenManual(HWND owner) {
    const std::wstring manual = ManualPath(WindowModule(owner));
    if (manual.empty()) {
        ReportSystemError(ERROR_FILENAME_EXCED_RANGE, owner);
        return;
    }
    ReportShellFailure(
        ShellExecuteW(owner, nullptr, manual.c_str(), nullptr, nullptr, SW_SHOWNORMAL), owner);
}

}  // namespace mirlka
