#include "host/win/cal_program_file.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "base/win/durable_write.h"
#include "base/win/module_path.h"
#include "base/win/window_module.h"
#include "host/cal_program.h"
#include "host/tool_entry.h"
#include "host/win/file_version.h"
#include "res/resource.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"
#include "ui/win/ui_language.h"

namespace mirlka {

void SaveCalProgram(HWND owner, const TrackTable& table) {
    const HINSTANCE module = WindowModule(owner);
    // The dialog's UTF-16 form: a folder of any name can be chosen, whatever the code page.
    std::wstring filter = ResStringIn(UiLanguage(), IDS_CAL_PROGRAM_FILTER, module);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = L"cal";  // added when the name typed has no extension
    dialog.Flags =
        OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) {
        if (CommDlgExtendedError() != 0) {  // the dialog failed; 0 is the user's Cancel
            ShowMessageBoxById(owner, IDS_UNEXPECTED_ERROR, MB_OK | MB_ICONHAND);
        }
        return;
    }
    const std::string tool = ToolDisplayText(ResString(IDS_TOOL_DISPLAY_NAME, module),
                                             ReadFileVersion(ModulePath(module).c_str()));
    ReportSystemError(WriteFileDurably(path.c_str(), BuildCalProgram(table, tool)), owner);
}

}  // namespace mirlka
