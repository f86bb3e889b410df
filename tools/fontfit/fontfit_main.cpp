// Reports which labels of mirlka.exe's dialogs the dialog font of this Wine prefix cannot show in
// full. The dialogs are created, hidden, from the program file's own resources in the language
// the program shows on this system, at the system's DPI; each label is measured with the control's
// own font and layout flags against the room the control gives it, and so is each column title of
// the track list, which the program's own code sets up.
//   fontfit.exe PATH\mirlka.exe
// Prints one line per dialog (the font really used and its size) and one per clipped label; the
// exit code is the number of clipped labels.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "app/win/track_list.h"
#include "res/resource.h"
#include "ui/win/language_resources.h"
#include "ui/win/res_string.h"
#include "ui/win/system_dpi.h"
#include "ui/win/ui_language.h"

namespace {

INT_PTR CALLBACK Inert(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::string Utf8(const std::wstring& wide) {
    std::string text(wide.size() * 3, '\0');
    text.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// How a control lays out its label, as DrawText flags, and the room it leaves for it; nothing for
// controls that show no label (icons, edits, lists, combos, group frames).
struct Layout {
    UINT flags;
    RECT room;
};

std::optional<Layout> LabelLayout(HWND control) {
    char windowClass[32];
    GetClassNameA(control, windowClass, sizeof windowClass);
    const auto style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    Layout layout{0, {}};
    GetClientRect(control, &layout.room);
    if (lstrcmpiA(windowClass, "Static") == 0) {
        constexpr std::pair<DWORD, UINT> kStaticFlags[] = {
            {SS_LEFT, DT_LEFT | DT_WORDBREAK},
            {SS_CENTER, DT_CENTER | DT_WORDBREAK},
            {SS_RIGHT, DT_RIGHT | DT_WORDBREAK},
            {SS_LEFTNOWORDWRAP, DT_LEFT | DT_SINGLELINE},
        };
        const auto* known =
            std::find_if(std::begin(kStaticFlags), std::end(kStaticFlags),
                         [&](const auto& k) { return k.first == (style & SS_TYPEMASK); });
        if (known == std::end(kStaticFlags)) {
            return std::nullopt;  // icons, pictures, frames
        }
        layout.flags = known->second;
        layout.flags |= (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        return layout;
    }
    if (lstrcmpiA(windowClass, "Button") != 0) {
        return std::nullopt;
    }
    layout.flags = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // Inside the button's raised frame.
            InflateRect(&layout.room, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
            return layout;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            // The box, then a gap before the text.
            layout.room.left += GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
            return layout;
        default:
            return std::nullopt;
    }
}

// The bounds DrawText gives the label laid out in `room` with `flags`.
RECT Measure(HDC dc, const std::wstring& text, UINT flags, const RECT& room) {
    RECT bounds{0, 0, room.right - room.left, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, flags | DT_CALCRECT);
    return bounds;
}

// Prints the label of `control` when it does not fit; true then.
bool ReportClipped(const char* dialog, HWND control) {
    const std::wstring text = TextOf(control);
    const std::optional<Layout> layout = LabelLayout(control);
    if (text.empty() || !layout) {
        return false;
    }
    HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const RECT laidOut = Measure(dc, text, layout->flags, layout->room);
    // The width it would take on one line tells how much room is missing.
    const RECT oneLine =
        Measure(dc, text, (layout->flags & ~DT_WORDBREAK) | DT_SINGLELINE, {0, 0, 0x7fff, 0});
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    const LONG width = layout->room.right - layout->room.left;
    const LONG height = layout->room.bottom - layout->room.top;
    if (laidOut.right <= width && laidOut.bottom <= height) {
        return false;
    }
    std::printf("  %s %d \"%s\": needs %ldx%ld px on one line, has %ldx%ld: %ld px short\n", dialog,
                GetDlgCtrlID(control), Utf8(text).c_str(), oneLine.right, oneLine.bottom, width,
                height, oneLine.right > width ? oneLine.right - width : laidOut.bottom - height);
    return true;
}

// The family of the font a window really draws with, after substitution.
std::string FontFamily(HWND window) {
    HDC dc = GetDC(window);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    std::string family = "?";
    if (const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr); size > 0) {
        std::string buffer(size, '\0');
        auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        GetOutlineTextMetricsW(dc, size, metrics);
        family = Utf8(reinterpret_cast<const wchar_t*>(
            buffer.data() + reinterpret_cast<std::size_t>(metrics->otmpFamilyName)));
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return family;
}

// Prints each column title of the list that does not fit its column; the number of them.
int ReportColumns(const char* dialog, HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    // The header leaves a margin of three edges on either side of a title.
    const LONG margins = 6 * GetSystemMetrics(SM_CXEDGE);
    HDC dc = GetDC(header);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(header, WM_GETFONT, 0, 0)));
    int clipped = 0;
    for (int i = 0; i < count; ++i) {
        wchar_t title[64] = L"";
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 64;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        RECT cell{};
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&cell));
        const RECT text = Measure(dc, title, DT_SINGLELINE, {0, 0, 0x7fff, 0});
        const LONG room = cell.right - cell.left - margins;
        if (text.right > room) {
            std::printf("  %s column %d \"%s\": needs %ld px, has %ld: %ld px short\n", dialog, i,
                        Utf8(title).c_str(), text.right, room, text.right - room);
            ++clipped;
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(header, dc);
    return clipped;
}

// Counts and prints the clipped labels of one dialog.
int ReportDialog(const char* name, HWND dialog) {
    RECT unit{0, 0, 4, 8};
    MapDialogRect(dialog, &unit);
    std::printf("%s: drawn in \"%s\", base units %ldx%ld px\n", name, FontFamily(dialog).c_str(),
                unit.right, unit.bottom);
    int clipped = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        clipped += ReportClipped(name, child) ? 1 : 0;
    }
    return clipped;
}

// The about box's texts that its procedure fills in at run time, from the program file's own
// string table and version block, with the bold description the box gives itself.
void FillAboutTexts(HWND about, HMODULE program, const wchar_t* path) {
    SetDlgItemTextW(about, IDC_ABOUT_WEBSITE,
                    mirlka::ResStringIn(mirlka::UiLanguage(), 2, program).c_str());
    DWORD ignored = 0;
    std::string block(GetFileVersionInfoSizeW(path, &ignored), '\0');
    GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data());
    for (const auto& [id, key] : {std::pair{IDC_ABOUT_DESCRIPTION, L"FileDescription"},
                                  std::pair{IDC_ABOUT_COPYRIGHT, L"LegalCopyright"}}) {
        wchar_t* value = nullptr;
        UINT length = 0;
        wchar_t table[32];
        wsprintfW(table, L"\\StringFileInfo\\%04x04b0\\", mirlka::UiLanguage());
        const std::wstring query = table + std::wstring(key);
        if (!block.empty() && VerQueryValueW(block.data(), query.c_str(),
                                             reinterpret_cast<void**>(&value), &length)) {
            SetDlgItemTextW(about, id, value);
        }
    }
    LOGFONTW bold{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(about, WM_GETFONT, 0, 0)), sizeof bold,
               &bold);
    bold.lfHeight = mirlka::ScaleToSystemDpi(14);
    bold.lfWeight = FW_BOLD;
    SendDlgItemMessageW(about, IDC_ABOUT_DESCRIPTION, WM_SETFONT,
                        reinterpret_cast<WPARAM>(CreateFontIndirectW(&bold)), FALSE);
}

HWND CreateFromResource(HMODULE program, int id) {
    const std::string_view found =
        mirlka::FindResourceIn(mirlka::UiLanguage(), program, MAKEINTRESOURCEA(5),  // RT_DIALOG
                               static_cast<UINT>(id));
    const auto* dialogTemplate =
        found.empty() ? nullptr : reinterpret_cast<const DLGTEMPLATE*>(found.data());
    return dialogTemplate ? CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate,
                                                       nullptr, Inert, 0)
                          : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fontfit PATH\\mirlka.exe\n");
        return 255;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // The main window's own class is the dialog class under another name.
    WNDCLASSW mainClass{};
    GetClassInfoW(nullptr, L"#32770", &mainClass);
    mainClass.hInstance = GetModuleHandleW(nullptr);
    mainClass.lpszClassName = L"" MIRLKA_WINDOW_CLASS;
    RegisterClassW(&mainClass);

    HMODULE program = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HWND main = program ? CreateFromResource(program, IDD_MAIN) : nullptr;
    HWND about = program ? CreateFromResource(program, IDD_ABOUT) : nullptr;
    if (!main || !about) {
        std::fprintf(stderr, "fontfit: cannot create the dialogs of %s\n", Utf8(argv[1]).c_str());
        return 255;
    }
    FillAboutTexts(about, program, argv[1]);
    mirlka::InitTrackList(GetDlgItem(main, IDC_TRACKLIST), program, 0);
    const int clipped = ReportDialog("main", main) + ReportDialog("about", about) +
                        ReportColumns("main", GetDlgItem(main, IDC_TRACKLIST));
    std::printf("%d label(s) clipped\n", clipped);
    std::fflush(stdout);
    DestroyWindow(about);
    DestroyWindow(main);
    FreeLibrary(program);
    return clipped;
}
