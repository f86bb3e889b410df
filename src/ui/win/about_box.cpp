#include "ui/win/about_box.h"

#include <shellapi.h>

#include <string>

#include "base/win/module_path.h"
#include "base/win/owned.h"
#include "base/win/version_block.h"
#include "base/win/window_module.h"
#include "res/resource.h"
#include "ui/explorer_argument.h"
#include "ui/win/language_resources.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"
#include "ui/win/shell_open.h"
#include "ui/win/system_dpi.h"
#include "ui/win/ui_language.h"
#include "ui/win/window_placement.h"

namespace mirlka {

namespace {

// What one about box holds while it is open: the bold font of its description.
struct AboutBox {
    OwnedFont boldFont;
};

AboutBox* AboutBoxOf(HWND dialog) {
    return reinterpret_cast<AboutBox*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Shows the version texts whose key names are string entries 134 to 136 in the controls of the
// same ids. Every failure leaves the controls empty: the box is still worth showing.
void ShowVersionTexts(HWND dialog, HINSTANCE module, const std::wstring& exePath) {
    const VersionBlock block(exePath.c_str());
    UINT length = 0;
    const auto* translation =
        static_cast<const DWORD*>(block.Query(L"\\VarFileInfo\\Translation", length));
    if (!translation || length < sizeof(DWORD)) {
        return;
    }
    // The texts in the program's language where the block has them, else its first.
    const DWORD* chosen = translation;
    for (UINT i = 0; i < length / sizeof(DWORD); ++i) {
        if (LOWORD(translation[i]) == UiLanguage()) {
            chosen = translation + i;
            break;
        }
    }
    wchar_t prefix[32];
    wsprintfW(prefix, L"\\StringFileInfo\\%04X%04X\\", LOWORD(*chosen), HIWORD(*chosen));
    for (UINT id = IDS_VERSION_FILE_DESCRIPTION; id <= IDS_VERSION_COMMENTS; ++id) {
        // The key names are ASCII, the same in every code page.
        std::wstring key(prefix);
        for (const char c : ResString(id, module)) {
            key += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        // The texts as the system has them, shown so even in this ANSI dialog.
        if (const auto* value = static_cast<const wchar_t*>(block.Query(key.c_str(), length))) {
            SetDlgItemTextW(dialog, static_cast<int>(id), value);
        }
    }
}

void SetBoldDescription(HWND dialog, AboutBox& box) {
    const auto font = reinterpret_cast<HFONT>(
        SendDlgItemMessageA(dialog, IDC_ABOUT_DESCRIPTION, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) {
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof description, &description);
    }
    description.lfHeight = ScaleToSystemDpi(14);
    description.lfWeight = FW_BOLD;
    box.boldFont.reset(CreateFontIndirectA(&description));
    SendDlgItemMessageA(dialog, IDC_ABOUT_DESCRIPTION, WM_SETFONT,
                        reinterpret_cast<WPARAM>(box.boldFont.get()), FALSE);
}

void OnInitDialog(HWND dialog, AboutBox& box) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&box));
    const HINSTANCE module = WindowModule(dialog);
    // The edit control of this ANSI dialog takes the wide text as it stands: a character that the
    // code page lacks shows as itself, not as "?".
    const std::wstring exePath = ModulePath(module);
    SetDlgItemTextW(dialog, IDC_ABOUT_EXEPATH, exePath.c_str());
    SetDlgItemTextA(dialog, IDC_ABOUT_WEBSITE, ResString(IDS_WEB_SITE, module).c_str());
    if (!exePath.empty()) {
        ShowVersionTexts(dialog, module, exePath);
    }
    SetBoldDescription(dialog, box);
    CenterWindow(dialog);
}

void OpenWebSite(HWND dialog) {
    if (ShowMessageBoxById(dialog, IDS_ASK_OPEN_WEB_SITE, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    OpenWithShell(ResString(IDS_WEB_SITE, WindowModule(dialog)).c_str(), dialog);
}

// Explorer opens on the executable's folder with the file selected; whether it comes up is not
// the user's concern here, so nothing is reported. It is named by its full path in the Windows
// folder: a bare name is looked for in the current and the program's folder first.
void ShowExecutableInExplorer(HWND dialog) {
    const std::wstring exePath = ModulePath(WindowModule(dialog));
    const std::wstring explorer = FileInSystemFolder(GetWindowsDirectoryW, L"explorer.exe");
    if (exePath.empty() || explorer.empty()) {
        return;
    }
    ShellExecuteW(dialog, nullptr, explorer.c_str(), ExplorerSelectArgument(exePath).c_str(),
                  nullptr, SW_SHOWNORMAL);
}

// The font goes with the window, before the box's state does.
void OnDestroy(HWND dialog) {
    if (AboutBox* box = AboutBoxOf(dialog)) {
        box->boldFont.reset();
    }
}

INT_PTR OnCommand(HWND dialog, WORD id) {
    switch (id) {
        case IDCANCEL:  // the OK button, Enter, Escape and the close box
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_ABOUT_WEBSITE:
            OpenWebSite(dialog);
            return FALSE;
        case IDC_ABOUT_BROWSE:
            ShowExecutableInExplorer(dialog);
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog, *reinterpret_cast<AboutBox*>(lParam));
            return TRUE;
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        case WM_DESTROY:
            OnDestroy(dialog);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowAboutBox(HWND owner) {
    AboutBox box;
    DialogBoxIn(UiLanguage(), WindowModule(owner), IDD_ABOUT, owner, AboutDlgProc,
                reinterpret_cast<LPARAM>(&box));
}

}  // namespace mirlka
