#include "app/win/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>
#include <memory>
#include <utility>

#include "app/table_edits.h"
#include "app/win/track_list.h"
#include "base/win/code_page.h"
#include "base/win/focus.h"
#include "base/win/owned.h"
#include "host/win/cal_program_file.h"
#include "host/win/execute_command.h"
#include "host/win/tool_registration.h"
#include "res/resource.h"
#include "settings/app_state.h"
#include "settings/presets.h"
#include "settings/settings_store.h"
#include "settings/win/preset_controls.h"
#include "ui/win/about_box.h"
#include "ui/win/combo_item.h"
#include "ui/win/language_resources.h"
#include "ui/win/res_string.h"
#include "ui/win/shell_open.h"
#include "ui/win/ui_language.h"
#include "ui/win/window_placement.h"

namespace mirlka {
namespace {

// Refreshes the channel combo once a burst of list changes has settled.
constexpr UINT_PTR kRefreshTimer = 6546;
constexpr UINT kRefreshDelayMs = 20;

// Everything the running program knows, attached to the window for as long as it exists.
struct MainWindow {
    HINSTANCE instance = nullptr;  // every resource comes from it
    std::uint32_t commonControlsVersion = 0;
    // The settings file's image for the whole run; written once, when the window ends or, before
    // that, when the session ends; never by itself. Preset names are the system's ANSI texts: its
    // lead bytes tell their characters apart.
    SettingsStore settings{IsSystemLeadByte};
    // Non-zero: the program keeps its entry in the host's Tools menu.
    std::int32_t addCakewalkTool = 1;
    // The window's outer rectangle, taken at initialisation and after every move.
    RECT lastWindowRect{};
    TrackListControls tracks;
    PresetControls presets;
    OwnedMenu channelMenu;  // popup menu of channels over the list
    TableHistory history;   // the changes to the table, for undo and redo
    HMENU fileMenu = nullptr;
    bool menuKey = false;  // the context-menu key was pressed in the list
    // A run of Execute is under way: DDE's modal loops may hand the window messages meanwhile.
    bool running = false;
    bool closeRequested = false;  // the window was asked to close during a run
    // The state went to the settings file when the session ended; the window's destruction that
    // may follow writes nothing more.
    bool saved = false;
};

// The controls that change the table or the presets, and Execute itself: none takes input during
// a run, since the system's modal loops may hand them clicks and keys meanwhile.
constexpr int kRunLockedControls[] = {IDC_PRESET,  IDC_PRESET_SAVE, IDC_PRESET_DELETE,
                                      IDC_CHANNEL, IDC_TRACKLIST,   IDC_RESET,
                                      IDC_EXECUTE};

MainWindow& StateOf(HWND window) {
    return *reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, DWLP_USER));
}

// The popup menu offers the channel combo's choices: none, a separator, then 1 to 16; below them
// the edits of the table, as in an editor's Edit menu.
OwnedMenu BuildChannelMenu(HWND combo, HINSTANCE instance) {
    OwnedMenu menu(CreatePopupMenu());
    const auto count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int choice = 0; choice < count; ++choice) {
        AppendMenuA(menu.get(), MF_STRING, IDM_CHANNEL_NONE + choice,
                    ComboItemText(combo, choice).c_str());
        if (choice == 0) {
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        }
    }
    constexpr std::pair<UINT, UINT> kEdits[] = {{0, 0},
                                                {IDM_NUMBER, IDS_MENU_NUMBER},
                                                {0, 0},
                                                {IDM_UNDO, IDS_MENU_UNDO},
                                                {IDM_REDO, IDS_MENU_REDO},
                                                {0, 0},
                                                {IDM_SELECT_ALL, IDS_MENU_SELECT_ALL}};
    for (const auto& [id, text] : kEdits) {
        AppendMenuA(menu.get(), id ? MF_STRING : MF_SEPARATOR, id,
                    id ? ResString(text, instance).c_str() : nullptr);
    }
    return menu;
}

// Moves the (still hidden) window to its saved place, when both coordinates were saved, or onto
// the nearest display when it would show on none there; then takes the last window rectangle,
// where the window really is, and the AddCakewalkTool flag.
void RestoreWindowState(HWND window, MainWindow& state) {
    if (const auto position = ReadWindowPosition(state.settings)) {
        PlaceWindowOnScreen(window, position->left, position->top);
    }
    GetWindowRect(window, &state.lastWindowRect);
    state.addCakewalkTool = ReadAddToolFlag(state.settings);
}

// Position and flag into the store, the Tools-menu registration applied once more, then the table
// into the store and the whole store to the file; once: when the window is destroyed, or when the
// session ends, whichever comes first.
void SaveApplicationState(MainWindow& state) {
    if (state.saved) {
        return;
    }
    state.saved = true;
    StoreAppSettings(state.settings, {state.lastWindowRect.left, state.lastWindowRect.top},
                     state.addCakewalkTool);
    UpdateToolRegistration(state.addCakewalkTool, state.instance);
    SaveTableToSection(state.settings, ListViewTable(state.tracks.list), kLastStateSection);
    state.settings.Write();
}

// ---- Commands --------------------------------------------------------------------------------

// One step of the history: what `change` does to the table.
template <typename Change>
void ChangeTable(MainWindow& state, Change change) {
    ListViewTable table(state.tracks.list);
    const TableValues before = ReadValues(table);
    change(table);
    state.history.Record(before, ReadValues(table));
}

void OnChannelCombo(MainWindow& state, WORD code) {
    if (code == CBN_SELCHANGE) {
        ChangeTable(state, [&](TrackTable&) { ApplyChannelChoice(state.tracks); });
    }
}

// The run may take as long as the host needs. Nothing the user does meanwhile starts another run
// or changes the list it reads or the presets; a close waits for its end. Afterwards every control
// is as enabled as before and the focus is where it was.
void OnExecute(HWND window, MainWindow& state) {
    state.running = true;
    const HWND focus = GetFocus();
    bool enabled[std::size(kRunLockedControls)];
    for (std::size_t i = 0; i < std::size(kRunLockedControls); ++i) {
        const HWND control = GetDlgItem(window, kRunLockedControls[i]);
        enabled[i] = IsWindowEnabled(control) != FALSE;
        EnableWindow(control, FALSE);
    }
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    RunExecute(window, ListViewTable(state.tracks.list));
    SetCursor(previous);
    for (std::size_t i = 0; i < std::size(kRunLockedControls); ++i) {
        EnableWindow(GetDlgItem(window, kRunLockedControls[i]), enabled[i]);
    }
    if (focus != nullptr && IsWindow(focus) && GetFocus() != focus) {
        SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    }
    EnsureFocus(window);
    state.running = false;
    if (state.closeRequested) {
        DestroyWindow(window);
    }
}

void OnPresetCombo(MainWindow& state, WORD code) {
    if (code == CBN_SELCHANGE) {
        ChangeTable(state,
                    [&](TrackTable& table) { SelectPreset(state.presets, state.settings, table); });
    } else if (code == CBN_EDITUPDATE) {
        UpdatePresetButtons(state.presets);
    }
}

void OnChannelMenu(MainWindow& state, WORD id) {
    SendMessageA(state.tracks.channel, CB_SETCURSEL, id - IDM_CHANNEL_NONE, 0);
    ChangeTable(state, [&](TrackTable&) { ApplyChannelChoice(state.tracks); });
}

void OnRegisterTool(MainWindow& state) {
    // The check mark shows the flag as it was when the menu opened.
    const UINT menuState = GetMenuState(state.fileMenu, IDM_REGISTER_TOOL, MF_BYCOMMAND);
    state.addCakewalkTool =
        (menuState != static_cast<UINT>(-1) && (menuState & MF_CHECKED)) ? 0 : 1;
    UpdateToolRegistration(state.addCakewalkTool, state.instance);
}

// ---- Messages --------------------------------------------------------------------------------

BOOL OnInitDialog(HWND window, MainWindow& state) {
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    state.tracks = {window, GetDlgItem(window, IDC_TRACKLIST), GetDlgItem(window, IDC_CHANNEL),
                    GetDlgItem(window, IDC_CHANNEL_LABEL)};
    state.presets = {window, GetDlgItem(window, IDC_PRESET), GetDlgItem(window, IDC_PRESET_SAVE),
                     GetDlgItem(window, IDC_PRESET_DELETE)};
    InitTrackList(state.tracks.list, state.instance, state.commonControlsVersion);
    ListViewTable table(state.tracks.list);
    LoadTableFromSection(state.settings, table, kLastStateSection);
    RefillPresetList(state.presets, state.settings);
    FillChannelChoices(state.tracks.channel);
    RestoreWindowState(window, state);
    state.channelMenu = BuildChannelMenu(state.tracks.channel, state.instance);
    // The template names the menu, which the dialog manager loads in a language of the system's
    // choosing: the program's own takes its place.
    if (HMENU menu = LoadMenuIn(UiLanguage(), state.instance, IDM_MAINMENU)) {
        HMENU loaded = GetMenu(window);
        SetMenu(window, menu);
        DestroyMenu(loaded);
    }
    state.fileMenu = GetSubMenu(GetMenu(window), 0);
    SetWindowTextA(window, ResString(IDS_MAIN_WINDOW_TITLE, state.instance).c_str());
    return TRUE;
}

// Every command not named here, the Cancel that Escape sends included, does nothing.
void OnCommand(HWND window, MainWindow& state, WORD id, WORD code) {
    if (state.running && id != IDM_EXIT) {
        return;  // during a run only a request to end is kept, for the run's end
    }
    if (id >= IDM_CHANNEL_NONE && id <= IDM_CHANNEL_LAST) {
        OnChannelMenu(state, id);
        return;
    }
    switch (id) {
        case IDC_CHANNEL:
            OnChannelCombo(state, code);
            break;
        case IDC_EXECUTE:
            OnExecute(window, state);
            break;
        case IDC_PRESET:
            OnPresetCombo(state, code);
            break;
        case IDC_PRESET_SAVE:
            SavePreset(state.presets, state.settings, ListViewTable(state.tracks.list));
            break;
        case IDC_PRESET_DELETE:
            DeletePreset(state.presets, state.settings);
            break;
        case IDC_RESET:
            ChangeTable(state, [&](TrackTable&) { ResetTable(state.tracks.list); });
            break;
        case IDM_NUMBER:
            ChangeTable(state, [&](TrackTable& table) {
                NumberRows(table, SelectedRows(state.tracks.list));
            });
            break;
        case IDM_UNDO:    // also Ctrl+Z
        case IDM_REDO: {  // also Ctrl+Y and Ctrl+Shift+Z
            ListViewTable table(state.tracks.list);
            id == IDM_UNDO ? state.history.Undo(table) : state.history.Redo(table);
            break;
        }
        case IDM_SELECT_ALL:  // also Ctrl+A
            SelectAllRows(state.tracks.list);
            break;
        case IDM_EXIT:
            SendMessageA(window, WM_CLOSE, 0, 0);
            break;
        case IDM_ABOUT:
            ShowAboutBox(window);
            break;
        case IDM_MANUAL:  // also F1
            OpenManual(window);
            break;
        case IDM_REGISTER_TOOL:
            OnRegisterTool(state);
            break;
        case IDM_SAVE_CAL_PROGRAM:
            SaveCalProgram(window, ListViewTable(state.tracks.list));
            break;
        default:
            break;
    }
}

void OnNotify(HWND window, MainWindow& state, const NMHDR& header) {
    if (header.hwndFrom != state.tracks.list) {
        return;
    }
    if (header.code == LVN_ITEMCHANGED) {
        KillTimer(window, kRefreshTimer);
        SetTimer(window, kRefreshTimer, kRefreshDelayMs, nullptr);
    } else if (header.code == LVN_KEYDOWN &&
               reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_APPS) {
        state.menuKey = true;
    }
}

void OnTimer(HWND window, MainWindow& state, UINT_PTR timer) {
    // The refresh enables the channel combo: not during a run; the timer fires again after it.
    if (timer == kRefreshTimer && !state.running) {
        KillTimer(window, kRefreshTimer);
        RefreshChannelChoice(state.tracks);
    }
}

// Where the keyboard opens the menu: the centre of the focused row, else the list's corner.
POINT KeyboardMenuPoint(HWND list) {
    POINT point{};
    const auto focused = static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused >= 0) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&bounds));
        point = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }
    ClientToScreen(list, &point);
    return point;
}

void OnContextMenu(HWND window, MainWindow& state, HWND clicked, POINT point) {
    if (state.running || clicked != state.tracks.list) {
        return;
    }
    RefreshChannelChoice(state.tracks);
    if (state.menuKey || (point.x == -1 && point.y == -1)) {
        point = KeyboardMenuPoint(state.tracks.list);
        state.menuKey = false;
    }
    const HMENU menu = state.channelMenu.get();
    const LRESULT choice = SendMessageA(state.tracks.channel, CB_GETCURSEL, 0, 0);
    const UINT checked = IDM_CHANNEL_NONE + static_cast<UINT>(choice == CB_ERR ? 0 : choice);
    CheckMenuRadioItem(menu, IDM_CHANNEL_NONE, IDM_CHANNEL_LAST, checked, MF_BYCOMMAND);
    const UINT enable = IsWindowEnabled(state.tracks.channel) ? MF_ENABLED : MF_GRAYED;
    for (UINT id = IDM_CHANNEL_NONE; id <= IDM_CHANNEL_LAST; ++id) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | enable);
    }
    EnableMenuItem(menu, IDM_NUMBER, MF_BYCOMMAND | enable);
    EnableMenuItem(menu, IDM_UNDO,
                   MF_BYCOMMAND | (state.history.UndoSteps() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_REDO,
                   MF_BYCOMMAND | (state.history.RedoSteps() ? MF_ENABLED : MF_GRAYED));
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
}

void OnInitMenuPopup(MainWindow& state, HMENU menu) {
    if (menu == state.fileMenu) {
        CheckMenuItem(state.fileMenu, IDM_REGISTER_TOOL,
                      MF_BYCOMMAND | (state.addCakewalkTool ? MF_CHECKED : MF_UNCHECKED));
    }
}

void OnClose(HWND window, MainWindow& state) {
    if (state.running) {
        state.closeRequested = true;
    } else {
        DestroyWindow(window);
    }
}

BOOL OnSetCursor(HWND window, const MainWindow& state) {
    if (!state.running) {
        return FALSE;
    }
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// Once this returns with TRUE, Windows may end the process at any time without destroying the
// window. A session end that was called off (FALSE) changes nothing.
void OnEndSession(MainWindow& state, bool ending) {
    if (ending) {
        SaveApplicationState(state);
    }
}

void OnDestroy(HWND window, MainWindow& state) {
    KillTimer(window, kRefreshTimer);
    SaveApplicationState(state);
    state.channelMenu.reset();
    PostQuitMessage(0);
}

// The last message of the window: the state goes with it.
void OnNcDestroy(HWND window) {
    delete &StateOf(window);
    SetWindowLongPtrA(window, DWLP_USER, 0);
}

// Dispatches only: TRUE for the messages it handles, FALSE for the dialog manager's.
INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog(window, *reinterpret_cast<MainWindow*>(lParam));
    }
    if (GetWindowLongPtrA(window, DWLP_USER) == 0) {
        return FALSE;  // messages before WM_INITDIALOG
    }
    MainWindow& state = StateOf(window);
    switch (message) {
        case WM_COMMAND:
            OnCommand(window, state, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            OnNotify(window, state, *reinterpret_cast<const NMHDR*>(lParam));
            return TRUE;
        case WM_TIMER:
            OnTimer(window, state, wParam);
            return TRUE;
        case WM_CONTEXTMENU:
            OnContextMenu(window, state, reinterpret_cast<HWND>(wParam),
                          {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return FALSE;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(state, reinterpret_cast<HMENU>(wParam));
            return TRUE;
        case WM_EXITSIZEMOVE:
            GetWindowRect(window, &state.lastWindowRect);
            return FALSE;
        case WM_CLOSE:
            OnClose(window, state);
            return TRUE;
        case WM_SETCURSOR:
            return OnSetCursor(window, state);
        case WM_QUERYENDSESSION:  // logoff, restart or shutdown: nothing to ask
            SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_ENDSESSION:
            OnEndSession(state, wParam != FALSE);
            SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_DESTROY:
            OnDestroy(window, state);
            return TRUE;
        case WM_NCDESTROY:
            OnNcDestroy(window);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, const std::wstring& settingsPath,
                      std::uint32_t commonControlsVersion) {
    auto state = std::make_unique<MainWindow>();
    state->instance = instance;
    state->commonControlsVersion = commonControlsVersion;
    state->settings.Load(settingsPath);
    HWND window = CreateDialogIn(UiLanguage(), instance, IDD_MAIN, nullptr, MainDlgProc,
                                 reinterpret_cast<LPARAM>(state.get()));
    // Once made, the window owns its state (its WM_NCDESTROY frees it); a window that failed
    // before WM_INITDIALOG never took it.
    if (window) {
        state.release();
    }
    return window;
}

void UpdateToolRegistrationOf(HWND mainWindow) {
    const MainWindow& state = StateOf(mainWindow);
    UpdateToolRegistration(state.addCakewalkTool, state.instance);
}

}  // namespace mirlka
