#include "ui/win/shell_open.h"

#include <shellapi.h>

#include "base/paths.h"
#include "base/win/module_path.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"

namespace mirlka {

std::string ManualPath(HINSTANCE module) {
    return FileBesideModule(module, kManualFileName);
}

void OpenWithShell(const char* target, HWND owner) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        ReportSystemError(GetLastError(), owner);
    }
}

// A folder too deep for the path buffer is refused with the system's wording for a name that is
// too long: a cut path could open some other file.
void OpenManual(HWND owner) {
    const std::string manual = ManualPath(WindowModule(owner));
    if (manual.empty()) {
        ReportSystemError(ERROR_FILENAME_EXCED_RANGE, owner);
        return;
    }
    OpenWithShell(manual.c_str(), owner);
}

}  // namespace mirlka
