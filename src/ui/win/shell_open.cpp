#include "ui/win/shell_open.h"

#include <shellapi.h>

#include <optional>
#include <string>

#include "base/paths.h"
#include "base/win/app_globals.h"
#include "ui/win/message_box.h"

namespace mirlka {

// The full path of `module`'s file. False when there is none or it was cut to fit the buffer.
bool ModulePath(HINSTANCE module, char (&buffer)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool GetManualPath(char (&buffer)[MAX_PATH]) {
    char exePath[MAX_PATH];
    std::optional<std::string> manual;
    if (ModulePath(Globals().instance, exePath)) {
        manual = PathBesideModule(exePath, kManualFileName);
    }
    if (!manual) {
        buffer[0] = '\0';
        return false;
    }
    lstrcpyA(buffer, manual->c_str());
    return true;
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
    char manual[MAX_PATH];
    if (!GetManualPath(manual)) {
        ReportSystemError(ERROR_FILENAME_EXCED_RANGE, owner);
        return;
    }
    OpenWithShell(manual, owner);
}

}  // namespace mirlka
