// Drives a copy of mirlka.exe from another process the way a user would: the program runs from a
// fresh folder with a prepared settings file, and its controls are reached by window messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "driver/win/process.h"

namespace mirlka::driver {

// The host's Tools-menu entry of the program, in the registry view the host reads.
bool ToolKeyExists();
void DeleteToolKey();

// A copy of the program in a temporary folder of its own, removed again with everything in it.
// Paths are UTF-16, so that a folder may have a name that the ANSI code page cannot write.
class AppCopy {
  public:
    // Without `settings` the folder has no mirlka.ini. With `folderLength` the copy lies in
    // nested folders, deep enough for the folder's path to have that many characters; with
    // `folderName` in a folder of that name below them.
    explicit AppCopy(const std::optional<std::string>& settings = std::nullopt,
                     const char* exeName = "mirlka.exe", std::size_t folderLength = 0,
                     const std::wstring& folderName = L"");

    // The temporary folder that holds everything of the copy.
    std::wstring root() const { return Wide(root_.path()); }
    const std::wstring& folder() const { return folder_; }
    std::wstring SettingsPath() const { return folder_ + L"mirlka.ini"; }
    std::wstring ExePath() const { return folder_ + exeName_; }
    // Nothing when the file does not exist.
    std::optional<std::string> Settings() const;

  private:
    TempFolder root_{"mirlka-e2e"};
    std::wstring folder_ = root();
    std::wstring exeName_;
};

// One running copy of the program and its main window; a program still running at the end is
// ended by its handle.
class App {
  public:
    // Starts the program and waits for its main window; check window() for success.
    explicit App(const AppCopy& copy);

    HWND window() const { return window_; }
    DWORD processId() const { return GetProcessId(process_.handle()); }
    HANDLE process() const { return process_.handle(); }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // The window of the program that has the keyboard focus, or null.
    HWND Focus() const;
    // A message sent to the main window, as the system sends it; its result.
    LRESULT SendToWindow(UINT message, WPARAM wParam, LPARAM lParam = 0) const;

    // The track list: a column's title, a row's value, its channel column, its selection and
    // bounds on screen.
    std::string ColumnTitle(int column) const;
    std::int32_t Entry(int row) const;
    std::string ChannelText(int row) const;
    bool IsSelected(int row) const;
    int RowCount() const;
    RECT RowRect(int row) const;
    // Selects exactly these rows, the last one focused, as clicks with Ctrl would.
    void SelectRows(const std::vector<int>& rows) const;

    int ComboChoice(int id) const;
    std::vector<std::string> ComboItems(int id) const;
    // Chooses a combo item, or types a name, as the user does: the main window is told.
    void Choose(int id, int index) const;
    void TypePresetName(const std::string& text) const;

    // A command, as a menu choice or accelerator sends it; returns once it has been handled.
    void Command(int id, int code = 0) const;
    // Opens a menu of the menu bar from the keyboard (Alt and `menuKey`) and chooses the item
    // whose mnemonic is `itemKey`; returns once the menu was open, not waiting for the command.
    bool ChooseMenuItem(char menuKey, char itemKey) const;
    // The program's open popup menu, or null.
    HWND OpenMenu() const;
    // A key pressed while a menu of the program is open.
    void PressKey(WORD key) const;
    // Keys pressed on the keyboard together, each held while the next goes down, then let go:
    // real input to the program, its window brought to the front, for its focused control.
    void PressKeys(std::initializer_list<WORD> keys) const;
    void Click(int id) const;
    // Chooses File > Save as CAL Program from the keyboard, types `name` into the system's Save
    // As dialog and presses Save (the question that may follow is left open); the dialog, or null
    // when none came in time.
    HWND SaveCalProgramAs(const std::wstring& name) const;
    // Waits for the refresh timer that follows a change in the list.
    bool WaitForChannelChoice(int expected) const;

    // Closes the window; true when the program ended by itself in time.
    bool Close();
    // Runs the program until it ends by itself; its exit code, or nothing after `timeoutMs`.
    static std::optional<DWORD> RunToEnd(const AppCopy& copy, DWORD timeoutMs);

  private:
    Process process_;
    HWND window_ = nullptr;
};

}  // namespace mirlka::driver
