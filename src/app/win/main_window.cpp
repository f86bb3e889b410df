#include "app/win/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "base/decimal.h"
#include "base/win/app_globals.h"
#include "app/win/track_list.h"
#include "host/win/execute_command.h"
#include "host/win/tool_registration.h"
#include "res/resource.h"
#include "settings/presets.h"
#include "settings/win/preset_controls.h"
#include "settings/win/saved_state.h"
#include "ui/string_ids.h"
#include "ui/win/about_box.h"
#include "ui/win/shell_open.h"
#include "ui/win/res_string.h"

namespace mirlka {
namespace {

// Refreshes the channel combo once a burst of list changes has settled.
constexpr UINT_PTR kRefreshTimer = 6546;
constexpr UINT kRefreshDelayMs = 20;

struct MainWindowState {
    TrackListControls tracks;
    PresetControls presets;
    HMENU channelMenu = nullptr;  // popup menu of channels over the list
    HMENU fileMenu = nullptr;
    bool menuKey = false;  // the context-menu key was pressed in the list
    // A run of Execute is under way: DDE's modal loops may hand the window messages meanwhile.
    bool running = false;
    bool closeRequested = false;  // the window was asked to close during a run
};

MainWindowState state;

HMENU BuildChannelMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_CHANNEL_NONE, "");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (int channel = 1; channel <= 16; ++channel) {
        AppendMenuA(menu, MF_STRING, IDM_CHANNEL_NONE + channel, WriteDecimal(channel).c_str());
    }
    return menu;
}

// ---- Commands --------------------------------------------------------------------------------

void OnChannelCombo(HWND, WORD, WORD code) {
    if (code == CBN_SELCHANGE) {
        ApplyChannelChoice(state.tracks);
    }
}

// The run may take as long as the host needs. Nothing the user does meanwhile starts another run
// or changes the list it reads; a close waits for its end.
void OnExecute(HWND window, WORD, WORD) {
    state.running = true;
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    RunExecute(window, ListViewTable(state.tracks.list));
    SetCursor(previous);
    state.running = false;
    if (state.closeRequested) {
        DestroyWindow(window);
    }
}

void OnPresetCombo(HWND, WORD, WORD code) {
    if (code == CBN_SELCHANGE) {
        ListViewTable table(state.tracks.list);
        SelectPreset(state.presets, Settings(), table);
    } else if (code == CBN_EDITUPDATE) {
        UpdatePresetButtons(state.presets);
    }
}

void OnSavePreset(HWND, WORD, WORD) {
    SavePreset(state.presets, Settings(), ListViewTable(state.tracks.list));
}

void OnDeletePreset(HWND, WORD, WORD) {
    DeletePreset(state.presets, Settings());
}

void OnResetList(HWND, WORD, WORD) {
    ResetTable(state.tracks.list);
}

void OnChannelMenu(HWND, WORD id, WORD) {
    SendMessageA(state.tracks.channel, CB_SETCURSEL, id - IDM_CHANNEL_NONE, 0);
    ApplyChannelChoice(state.tracks);
}

void OnExit(HWND window, WORD, WORD) {
    SendMessageA(window, WM_CLOSE, 0, 0);
}

// Help menu: the about box and the manual beside the program (also F1).
void OnAboutBox(HWND window, WORD, WORD) {
    ShowAboutBox(window);
}
void OnOpenManual(HWND window, WORD, WORD) {
    OpenManual(window);
}

void OnRegisterTool(HWND, WORD, WORD) {
    // The check mark shows the flag as it was when the menu opened.
    const UINT menuState = GetMenuState(state.fileMenu, IDM_REGISTER_TOOL, MF_BYCOMMAND);
    Globals().addCakewalkTool =
        (menuState != static_cast<UINT>(-1) && (menuState & MF_CHECKED)) ? 0 : 1;
    UpdateToolRegistration();
}

struct CommandRoute {
    WORD first;
    WORD last;
    void (*handle)(HWND window, WORD id, WORD code);
};

// Every other command, the Cancel that Escape sends included, does nothing.
constexpr CommandRoute kCommands[] = {
    {IDC_CHANNEL, IDC_CHANNEL, OnChannelCombo},
    {IDC_EXECUTE, IDC_EXECUTE, OnExecute},
    {IDC_PRESET, IDC_PRESET, OnPresetCombo},
    {IDC_PRESET_SAVE, IDC_PRESET_SAVE, OnSavePreset},
    {IDC_PRESET_DELETE, IDC_PRESET_DELETE, OnDeletePreset},
    {IDC_RESET, IDC_RESET, OnResetList},
    {IDM_CHANNEL_NONE, IDM_CHANNEL_LAST, OnChannelMenu},
    {IDM_EXIT, IDM_EXIT, OnExit},
    {IDM_ABOUT, IDM_ABOUT, OnAboutBox},
    {IDM_MANUAL, IDM_MANUAL, OnOpenManual},
    {IDM_REGISTER_TOOL, IDM_REGISTER_TOOL, OnRegisterTool},
};

// ---- Messages --------------------------------------------------------------------------------

INT_PTR OnInitDialog(HWND window, WPARAM, LPARAM) {
    state = {};
    state.tracks = {window, GetDlgItem(window, IDC_TRACKLIST), GetDlgItem(window, IDC_CHANNEL),
                    GetDlgItem(window, IDC_CHANNEL_LABEL)};
    state.presets = {window, GetDlgItem(window, IDC_PRESET), GetDlgItem(window, IDC_PRESET_SAVE),
                     GetDlgItem(window, IDC_PRESET_DELETE)};
    InitTrackList(state.tracks.list);
    ListViewTable table(state.tracks.list);
    LoadTableFromSection(Settings(), table, kLastStateSection);
    RefillPresetList(state.presets, Settings());
    SendMessageA(state.tracks.channel, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    for (int channel = 1; channel <= 16; ++channel) {
        SendMessageA(state.tracks.channel, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WriteDecimal(channel).c_str()));
    }
    RestoreWindowState(window);
    state.channelMenu = BuildChannelMenu();
    state.fileMenu = GetSubMenu(GetMenu(window), 0);
    SetWindowTextA(window, ResString(kIdsMainWindowTitle, Globals().instance).c_str());
    return TRUE;
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM) {
    const WORD id = LOWORD(wParam);
    if (state.running && id != IDM_EXIT) {
        return TRUE;  // during a run only a request to end is kept, for the run's end
    }
    for (const CommandRoute& route : kCommands) {
        if (id >= route.first && id <= route.last) {
            route.handle(window, id, HIWORD(wParam));
            break;
        }
    }
    return TRUE;
}

INT_PTR OnNotify(HWND window, WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != state.tracks.list) {
        return TRUE;
    }
    if (header->code == LVN_ITEMCHANGED) {
        KillTimer(window, kRefreshTimer);
        SetTimer(window, kRefreshTimer, kRefreshDelayMs, nullptr);
    } else if (header->code == LVN_KEYDOWN &&
               reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_APPS) {
        state.menuKey = true;
    }
    return TRUE;
}

INT_PTR OnTimer(HWND window, WPARAM wParam, LPARAM) {
    if (wParam == kRefreshTimer) {
        KillTimer(window, kRefreshTimer);
        RefreshChannelChoice(state.tracks);
    }
    return TRUE;
}

// Where the keyboard opens the menu: the centre of the focused row, else the list's corner.
POINT KeyboardMenuPoint() {
    POINT point{};
    const auto focused = static_cast<int>(
        SendMessageA(state.tracks.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused >= 0) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        SendMessageA(state.tracks.list, LVM_GETITEMRECT, focused,
                     reinterpret_cast<LPARAM>(&bounds));
        point = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }
    ClientToScreen(state.tracks.list, &point);
    return point;
}

INT_PTR OnContextMenu(HWND window, WPARAM wParam, LPARAM lParam) {
    if (state.running || reinterpret_cast<HWND>(wParam) != state.tracks.list) {
        return FALSE;
    }
    RefreshChannelChoice(state.tracks);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (state.menuKey || (point.x == -1 && point.y == -1)) {
        point = KeyboardMenuPoint();
        state.menuKey = false;
    }
    const LRESULT choice = SendMessageA(state.tracks.channel, CB_GETCURSEL, 0, 0);
    const UINT checked = IDM_CHANNEL_NONE + static_cast<UINT>(choice == CB_ERR ? 0 : choice);
    CheckMenuRadioItem(state.channelMenu, IDM_CHANNEL_NONE, IDM_CHANNEL_LAST, checked,
                       MF_BYCOMMAND);
    const UINT enable = IsWindowEnabled(state.tracks.channel) ? MF_ENABLED : MF_GRAYED;
    for (UINT id = IDM_CHANNEL_NONE; id <= IDM_CHANNEL_LAST; ++id) {
        EnableMenuItem(state.channelMenu, id, MF_BYCOMMAND | enable);
    }
    TrackPopupMenu(state.channelMenu, TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
    return FALSE;
}

INT_PTR OnInitMenuPopup(HWND, WPARAM wParam, LPARAM) {
    if (reinterpret_cast<HMENU>(wParam) == state.fileMenu) {
        CheckMenuItem(state.fileMenu, IDM_REGISTER_TOOL,
                      MF_BYCOMMAND | (Globals().addCakewalkTool ? MF_CHECKED : MF_UNCHECKED));
    }
    return TRUE;
}

INT_PTR OnExitSizeMove(HWND window, WPARAM, LPARAM) {
    GetWindowRect(window, &Globals().lastWindowRect);
    return FALSE;
}

INT_PTR OnClose(HWND window, WPARAM, LPARAM) {
    if (state.running) {
        state.closeRequested = true;
    } else {
        DestroyWindow(window);
    }
    return TRUE;
}

INT_PTR OnSetCursor(HWND window, WPARAM, LPARAM) {
    if (!state.running) {
        return FALSE;
    }
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR OnDestroy(HWND window, WPARAM, LPARAM) {
    KillTimer(window, kRefreshTimer);
    SaveApplicationState(ListViewTable(state.tracks.list), UpdateToolRegistration);
    if (state.channelMenu && IsMenu(state.channelMenu)) {
        DestroyMenu(state.channelMenu);
    }
    state.channelMenu = nullptr;
    PostQuitMessage(0);
    return TRUE;
}

struct MessageRoute {
    UINT message;
    INT_PTR (*handle)(HWND window, WPARAM wParam, LPARAM lParam);
};

constexpr MessageRoute kMessages[] = {
    {WM_INITDIALOG, OnInitDialog},
    {WM_COMMAND, OnCommand},
    {WM_NOTIFY, OnNotify},
    {WM_TIMER, OnTimer},
    {WM_CONTEXTMENU, OnContextMenu},
    {WM_INITMENUPOPUP, OnInitMenuPopup},
    {WM_EXITSIZEMOVE, OnExitSizeMove},
    {WM_CLOSE, OnClose},
    {WM_SETCURSOR, OnSetCursor},
    {WM_DESTROY, OnDestroy},
};

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const MessageRoute& route : kMessages) {
        if (route.message == message) {
            return route.handle(window, wParam, lParam);
        }
    }
    return FALSE;
}

}  // namespace mirlka
