// Drives a copy of mirlka.exe from the test process the way a user would: the program runs from a
// fresh folder with a prepared settings file, and its controls are reached by window messages.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/test_support.h"

namespace mirlka::test {

// UTF-8 source text in the program's code page, 932.
inline std::string Sjis(const std::string& utf8) {
    return ToAnsi(utf8);
}

// Polls `done` every 10 ms until it holds or `timeout` has passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

// The host's Tools-menu entry of the program, in the registry view the host reads.
bool ToolKeyExists();
void DeleteToolKey();

// A copy of the program in a temporary folder of its own, removed again with everything in it.
class AppCopy {
  public:
    // Without `settings` the folder has no mirlka.ini.
    explicit AppCopy(std::optional<std::string> settings = std::nullopt);
    ~AppCopy();
    AppCopy(const AppCopy&) = delete;
    AppCopy& operator=(const AppCopy&) = delete;

    const std::string& folder() const { return folder_; }
    std::string SettingsPath() const { return folder_ + "mirlka.ini"; }
    std::string ExePath() const { return folder_ + "mirlka.exe"; }
    // The settings file's bytes; nothing when it does not exist.
    std::optional<std::string> Settings() const;

  private:
    std::string folder_;
};

// One running copy of the program and its main window.
class App {
  public:
    // Starts the program and waits for its main window; check window() for success.
    explicit App(const AppCopy& copy);
    ~App();  // ends a program that is still running, by its handle
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }

    // The track list.
    std::int32_t Entry(int row) const;
    std::string ChannelText(int row) const;
    bool IsSelected(int row) const;
    int RowCount() const;
    // Row `row`'s bounds in screen coordinates.
    RECT RowRect(int row) const;
    // Selects exactly these rows, the last one focused, as clicks with Ctrl would.
    void SelectRows(const std::vector<int>& rows) const;

    // Combo boxes.
    int ComboChoice(int id) const;
    std::vector<std::string> ComboItems(int id) const;
    // Chooses an item of the channel or the preset combo as the user does: the change of choice
    // is reported to the main window.
    void Choose(int id, int index) const;
    // Types `text` into the preset combo's name field.
    void TypePresetName(const std::string& text) const;
    std::string Text(int id) const;

    // Sends a command, as a menu choice or accelerator does; returns once it has been handled.
    void Command(int id, int code = 0) const;
    // Opens a menu of the menu bar from the keyboard (Alt and `menuKey`) and chooses the item
    // whose mnemonic is `itemKey`; returns once the menu was open, not waiting for the command.
    bool ChooseMenuItem(char menuKey, char itemKey) const;
    // The program's open popup menu, or null.
    HWND OpenMenu() const;
    // A key pressed while a menu of the program is open.
    void PressKey(WORD key) const;
    // Presses a push button.
    void Click(int id) const;
    // Waits for the refresh timer that follows a change in the list.
    bool WaitForChannelChoice(int expected) const;

    // Closes the window with the close box and waits for the program to end; true when it ended
    // by itself in time.
    bool Close();

    // Runs the program until it ends by itself; its exit code, or nothing when it had to be
    // ended after `timeout`.
    static std::optional<DWORD> RunToEnd(const AppCopy& copy, DWORD timeoutMs);

  private:
    HWND window_ = nullptr;
    PROCESS_INFORMATION process_{};
};

}  // namespace mirlka::test
