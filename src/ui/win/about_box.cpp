#include "ui/win/about_box.h"

#include <shellapi.h>

#include <string>

#include "base/paths.h"
#include "base/win/app_globals.h"
#include "res/resource.h"
#include "ui/string_ids.h"
#include "ui/win/message_box.h"
#include "ui/win/res_string.h"
#include "ui/win/shell_open.h"

namespace mirlka {

namespace {

// The bold font of the description; the about box is modal, so one slot serves the process.
HFONT boldFont = nullptr;

// Shows the version texts whose key names are string entries 134 to 136 in the controls of the
// same ids. Every failure leaves the controls empty: the box is still worth showing.
void ShowVersionTexts(HWND dialog, HINSTANCE module, const char* exePath) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exePath, &ignored);
    if (size == 0) {
        return;
    }
    void* block = GlobalAlloc(GMEM_FIXED, size);
    if (block == nullptr) {
        return;
    }
    if (GetFileVersionInfoA(exePath, 0, size, block)) {
        DWORD* translation = nullptr;
        UINT translationLength = 0;
        if (VerQueryValueA(block, "\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&translation), &translationLength) &&
            translationLength >= sizeof(DWORD)) {
            char prefix[32];
            wsprintfA(prefix, "\\StringFileInfo\\%04X%04X\\", LOWORD(*translation),
                      HIWORD(*translation));
            for (UINT id = kIdsVersionFileDescription; id <= kIdsVersionComments; ++id) {
                std::string key(prefix);
                key += ResString(id, module);
                char* value = nullptr;
                UINT valueLength = 0;
                if (VerQueryValueA(block, key.c_str(), reinterpret_cast<void**>(&value),
                                   &valueLength) &&
                    value != nullptr) {
                    SetDlgItemTextA(dialog, static_cast<int>(id), value);
                }
            }
        }
    }
    GlobalFree(block);
}

void SetBoldDescription(HWND dialog) {
    const auto font = reinterpret_cast<HFONT>(
        SendDlgItemMessageA(dialog, IDC_ABOUT_DESCRIPTION, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) {
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof description, &description);
    }
    description.lfHeight = 14;
    description.lfWeight = FW_BOLD;
    if (boldFont != nullptr) {
        DeleteObject(boldFont);
    }
    boldFont = CreateFontIndirectA(&description);
    SendDlgItemMessageA(dialog, IDC_ABOUT_DESCRIPTION, WM_SETFONT,
                        reinterpret_cast<WPARAM>(boldFont), FALSE);
}

void InitAboutBox(HWND dialog) {
    const HINSTANCE module = WindowModule(dialog);
    char exePath[MAX_PATH];
    ModulePath(module, exePath);
    SetDlgItemTextA(dialog, IDC_ABOUT_EXEPATH, exePath);
    SetDlgItemTextA(dialog, IDC_ABOUT_WEBSITE, ResString(kIdsWebSite, module).c_str());
    if (exePath[0] != '\0') {
        ShowVersionTexts(dialog, module, exePath);
    }
    SetBoldDescription(dialog);
    CenterWindow(dialog);
}

void OpenWebSite(HWND dialog) {
    if (ShowMessageBoxById(dialog, kIdsAskOpenWebSite, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    OpenWithShell(ResString(kIdsWebSite, WindowModule(dialog)).c_str(), dialog);
}

// Explorer opens on the executable's folder with the file selected; whether it comes up is not
// the user's concern here, so nothing is reported.
void ShowExecutableInExplorer(HWND dialog) {
    char exePath[MAX_PATH];
    if (!ModulePath(WindowModule(dialog), exePath)) {
        return;
    }
    ShellExecuteA(dialog, nullptr, "Explorer", ExplorerSelectArgument(exePath).c_str(), nullptr,
                  SW_SHOWNORMAL);
}

}  // namespace

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            InitAboutBox(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDCANCEL:
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
        case WM_DESTROY:
            if (boldFont != nullptr) {
                DeleteObject(boldFont);
                boldFont = nullptr;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void ShowAboutBox(HWND owner) {
    DialogBoxParamA(Globals().instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
}

}  // namespace mirlka
