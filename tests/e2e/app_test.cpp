// The program as a user meets it: started from a folder of its own, driven through its main
// window, closed, and judged by the settings file and the registry entry it leaves behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/win/app_driver.h"
#include "driver/win/host_sim.h"
#include "res/resource.h"
#include "settings/settings_store.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace mirlka::test {
using namespace mirlka::driver;
namespace {

using namespace std::chrono_literals;

std::string AppSetting(int left, int top, int flag) {
    return "[AppSetting]\r\nLeft=" + std::to_string(left) + "\r\nTop=" + std::to_string(top) +
           "\r\nAddCakewalkTool=" + std::to_string(flag) + "\r\n";
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override { DeleteToolKey(); }
    void TearDown() override { DeleteToolKey(); }
};

// Presses `button` on the message box that `id`'s click opens; what the box said.
SeenBox ClickAnswering(const App& app, int id, int button) {
    BoxWatcher watcher(BoxSource::Process(app.processId()), button);
    app.Click(id);
    return watcher.Wait();
}

// The texts of a window's controls in order, apart by "|", as window-texts.txt lists them; the
// control `except` left out.
std::string ControlTexts(const std::vector<std::pair<int, std::string>>& controls, int except = 0) {
    std::string texts;
    for (const auto& [id, text] : controls) {
        if (except == 0 || id != except) {
            texts += "|" + text;
        }
    }
    return texts.erase(0, 1);
}

TEST_F(AppTest, FirstStartRegistersTheToolAndResetClearsTheList) {
    AppCopy copy("[LastState]\r\n1=3\r\n256=16\r\n");  // no [AppSetting] yet
    App app(copy);
    ASSERT_TRUE(app.window());
    // Every text in the language that the system's code page can show.
    std::vector<std::pair<int, std::string>> controls;
    for (HWND child = GetWindow(app.window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        controls.emplace_back(GetDlgCtrlID(child), ControlTextOf(child));
    }
    EXPECT_EQ(WindowTextOf(app.window()), Shown("string-table.txt", "141"));
    EXPECT_EQ(ControlTexts(controls), Shown("window-texts.txt", "101"));
    EXPECT_EQ(app.ColumnTitle(0) + "|" + app.ColumnTitle(1),
              Shown("string-table.txt", "149") + "|" + Shown("string-table.txt", "150"));
    EXPECT_EQ(app.RowCount(), 256);
    // No saved place: centred in the work area.
    RECT work{}, rect = WindowRect(app.window());
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(rect.left, (work.left + work.right - (rect.right - rect.left)) / 2, 1);
    EXPECT_EQ(app.ComboItems(IDC_CHANNEL),
              (std::vector<std::string>{"", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                                        "12", "13", "14", "15", "16"}));
    for (int id : {IDC_CHANNEL, IDC_CHANNEL_LABEL, IDC_PRESET_SAVE, IDC_PRESET_DELETE}) {
        EXPECT_FALSE(IsWindowEnabled(app.Control(id))) << id;
    }
    EXPECT_TRUE(WaitFor(ToolKeyExists));
    // Escape sends Cancel, which must not close the window.
    app.Command(IDCANCEL);
    EXPECT_TRUE(IsWindow(app.window()));

    EXPECT_EQ(app.ChannelText(0) + "|" + app.ChannelText(255), "3|16");
    app.SelectRows({0, 255});
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(app.Control(IDC_CHANNEL)) != FALSE; }));
    app.Click(IDC_RESET);  // the file at the end pins the values
    EXPECT_EQ(app.ChannelText(255), "");
    EXPECT_TRUE(app.IsSelected(0) && app.IsSelected(255));
    EXPECT_TRUE(app.WaitForChannelChoice(0));

    // Keys through the message loop. In the preset field Ctrl+Z and Ctrl+A are the field's own.
    HWND field = FindWindowExA(app.Control(IDC_PRESET), nullptr, "Edit", nullptr);
    app.TypePresetName("abc");
    app.SendToWindow(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageA(field, EM_SETSEL, 1, 1);
    app.PressKeys({VK_CONTROL, 'Z'});
    app.PressKeys({VK_CONTROL, 'A'});
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(field, EM_GETSEL, 0, 0) == MAKELONG(0, 3); }));
    EXPECT_TRUE(app.ChannelText(255).empty() && !app.IsSelected(128));
    // In the list Ctrl+Z takes the reset back, Ctrl+Y and Ctrl+Shift+Z redo it; Ctrl+A selects.
    app.SendToWindow(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_TRACKLIST)), TRUE);
    app.PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(WaitFor([&] { return app.ChannelText(0) + "|" + app.ChannelText(255) == "3|16"; }));
    app.PressKeys({VK_CONTROL, 'Y'});
    EXPECT_TRUE(WaitFor([&] { return app.Entry(0) == 0 && app.Entry(255) == 0; }));
    app.PressKeys({VK_CONTROL, 'Z'});
    app.PressKeys({VK_CONTROL, VK_SHIFT, 'Z'});
    app.PressKeys({VK_CONTROL, 'A'});
    EXPECT_TRUE(WaitFor([&] { return app.IsSelected(128); }));

    // The registration is applied once more at exit, whatever became of it meanwhile.
    DeleteToolKey();
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(copy.Settings(), AppSetting(rect.left, rect.top, 1) + "\r\n[LastState]\r\n");
    EXPECT_TRUE(ToolKeyExists());
}

// Restored values hand-edited (the section name in small letters, values out of range or with
// junk, an AddCakewalkTool that is no 0 or 1) are taken as they stand and written back; what the
// keys may be is the core's.
TEST_F(AppTest, TheChannelComboAndMenuFollowAndWriteTheSelectedRows) {
    AppCopy copy(
        "[laststate]\r\n8=99\r\n9=-3\r\n10=7abc\r\n12=-1\r\n13=5\r\n\r\n"
        "[AppSetting]\r\nAddCakewalkTool=5\r\n");
    App app(copy);
    ASSERT_TRUE(app.window());
    HWND list = app.Control(IDC_TRACKLIST);
    // Values out of range show as they stand, negative ones as blank.
    EXPECT_EQ(app.ChannelText(7) + "|" + app.ChannelText(8) + "|" + app.ChannelText(9), "99||7");
    EXPECT_TRUE(WaitFor(ToolKeyExists));

    // The refresh that follows a change of selection enables or disables combo and label.
    auto enabled = [&](bool state) {
        return WaitFor([&] {
            return (IsWindowEnabled(app.Control(IDC_CHANNEL)) != FALSE) == state &&
                   (IsWindowEnabled(app.Control(IDC_CHANNEL_LABEL)) != FALSE) == state;
        });
    };
    app.SelectRows({0, 2, 4});
    ASSERT_TRUE(enabled(true));
    EXPECT_TRUE(app.WaitForChannelChoice(0));  // all blank: the blank item
    app.Choose(IDC_CHANNEL, 5);  // the file at the end pins the rows that keep their values
    EXPECT_TRUE(app.Entry(0) == 5 && app.Entry(2) == 5 && app.Entry(4) == 5);

    app.SelectRows({4, 5});  // 5 and 0: no common value
    EXPECT_TRUE(app.WaitForChannelChoice(-1));
    app.Command(IDM_CHANNEL_NONE + 12);  // the popup menu's item "12"
    EXPECT_EQ(app.Entry(4), 12);
    EXPECT_TRUE(app.WaitForChannelChoice(12));

    app.SelectRows({2});
    app.Choose(IDC_CHANNEL, 0);  // the blank item clears the row

    // The menu from the keyboard (no pointer position) opens at the centre of the focused row.
    app.SelectRows({3, 4});
    ASSERT_TRUE(enabled(true));
    PostMessageA(app.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    ASSERT_TRUE(WaitFor([&] { return app.OpenMenu() != nullptr; }));
    const RECT row = app.RowRect(4);
    RECT menu = WindowRect(app.OpenMenu());
    EXPECT_EQ(std::pair(menu.left, menu.top),
              std::pair((row.left + row.right) / 2, (row.top + row.bottom) / 2));
    // Up from the top wraps to the last item; past the four edits, "16", then "15".
    for (WORD key : {VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN}) {
        app.PressKey(key);
    }
    EXPECT_TRUE(WaitFor([&] { return app.Entry(3) == 15 && app.Entry(4) == 15; }));

    // With no row selected every item is greyed: choosing does nothing.
    app.SelectRows({});
    EXPECT_TRUE(enabled(false));
    PostMessageA(app.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                 MAKELPARAM(300, 200));
    ASSERT_TRUE(WaitFor([&] { return app.OpenMenu() != nullptr; }));
    menu = WindowRect(app.OpenMenu());
    EXPECT_EQ(std::pair(menu.left, menu.top), std::pair(300L, 200L));
    for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        app.PressKey(key);
    }
    Sleep(300);
    app.PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return app.OpenMenu() == nullptr; }));
    // An enabled item would have set the combo's choice.
    EXPECT_EQ(app.ComboChoice(IDC_CHANNEL), -1);

    // A value that is no channel has no item in the combo; -1 and 5 differ, though -1 is also the
    // combo's "no choice".
    app.SelectRows({7});
    ASSERT_TRUE(enabled(true));
    EXPECT_EQ(app.ComboChoice(IDC_CHANNEL), -1);
    app.SelectRows({12});
    ASSERT_TRUE(app.WaitForChannelChoice(5));
    app.SelectRows({11, 12});
    EXPECT_TRUE(app.WaitForChannelChoice(-1));

    // Number, from the menu that the context-menu key opens, then taken back with the "15".
    app.SelectRows({12, 13, 14});
    app.SendToWindow(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    app.PressKeys({VK_APPS});
    ASSERT_TRUE(WaitFor([&] { return app.OpenMenu() != nullptr; }));
    app.PressKeys({'N'});
    EXPECT_TRUE(WaitFor([&] { return app.Entry(13) == 6 && app.Entry(14) == 7; }));
    app.PressKeys({VK_CONTROL, 'Z'});
    app.PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(WaitFor([&] { return app.Entry(13) == 0 && app.Entry(3) == 0; }));
    const RECT rect = WindowRect(app.window());
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(copy.Settings(),
              "[AppSetting]\r\nAddCakewalkTool=5\r\nLeft=" + std::to_string(rect.left) +
                  "\r\nTop=" + std::to_string(rect.top) +
                  "\r\n\r\n[LastState]\r\n1=5\r\n5=12\r\n6=12\r\n"
                  "8=99\r\n9=-3\r\n10=7\r\n12=-1\r\n13=5\r\n");
}

TEST_F(AppTest, PresetsAreSavedChosenAndDeleted) {
    AppCopy copy(
        "[Drums]\r\n1=10\r\n\r\n[AppSetting]\r\nLeft=40\r\nTop=30\r\nAddCakewalkTool=1\r\n\r\n"
        "[Piano]\r\n2=1\r\n\r\n[LastState]\r\n3=4\r\n");
    App app(copy);
    ASSERT_TRUE(app.window());
    EXPECT_EQ(app.ComboItems(IDC_PRESET), (std::vector<std::string>{"Drums", "Piano"}));
    // The name exists in other letters: the overwrite question, first declined.
    app.TypePresetName("drums");
    SeenBox box = ClickAnswering(app, IDC_PRESET_SAVE, IDNO);
    EXPECT_EQ(box.title + " / " + box.text,
              ToAnsi("警告 / 'drums'\nこのプリセットは、すでに存在します。上書きしますか?"));
    EXPECT_EQ(box.owner, app.window());
    EXPECT_EQ(app.ComboItems(IDC_PRESET), (std::vector<std::string>{"Drums", "Piano"}));
    EXPECT_EQ(WindowTextOf(app.Control(IDC_PRESET)), "drums");

    // Yes: the preset takes the typed name, moves to the end, and the field is emptied.
    box = ClickAnswering(app, IDC_PRESET_SAVE, IDYES);
    EXPECT_TRUE(box.pressed);
    EXPECT_EQ(app.ComboItems(IDC_PRESET), (std::vector<std::string>{"Piano", "drums"}));
    EXPECT_EQ(WindowTextOf(app.Control(IDC_PRESET)), "");

    // Choosing Piano sets every row it does not name to 0, as the file at the end shows; Ctrl+Z
    // takes it back, Ctrl+Y chooses again.
    app.Choose(IDC_PRESET, 0);
    app.SendToWindow(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_TRACKLIST)), TRUE);
    app.PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(WaitFor([&] { return app.Entry(1) == 0 && app.Entry(2) == 4; }));
    app.PressKeys({VK_CONTROL, 'Y'});
    EXPECT_TRUE(WaitFor([&] { return app.Entry(1) == 1 && app.Entry(2) == 0; }));

    app.TypePresetName("Piano");
    box = ClickAnswering(app, IDC_PRESET_DELETE, IDYES);
    EXPECT_EQ(box.text, "'Piano'\n" + ToAnsi("このプリセットを、削除してもよろしいですか?"));
    EXPECT_EQ(app.ComboItems(IDC_PRESET), std::vector<std::string>{"drums"});

    app.TypePresetName("Nope");
    box = ClickAnswering(app, IDC_PRESET_DELETE, IDOK);
    EXPECT_EQ(box.text, "'Nope'\n" + ToAnsi("この名前のプリセットは、存在しません。"));
    EXPECT_EQ(app.ComboItems(IDC_PRESET), std::vector<std::string>{"drums"});

    // A new name needs no question; its bytes are the program's code page.
    const std::string bass = ToAnsi("ベース 2");
    app.TypePresetName(bass);
    app.Click(IDC_PRESET_SAVE);
    EXPECT_EQ(app.ComboItems(IDC_PRESET), (std::vector<std::string>{"drums", bass}));

    ASSERT_TRUE(app.Close());
    EXPECT_EQ(copy.Settings(), AppSetting(40, 30, 1) + "\r\n[drums]\r\n3=4\r\n\r\n[" + bass +
                                   "]\r\n2=1\r\n\r\n[LastState]\r\n2=1\r\n");
}

// Wine told to prefer a version.dll beside planted-beside.exe, as Windows does for a DLL that is no
// known DLL (what WINEDLLOVERRIDES version=n,b says, which a Wine process cannot pass on).
struct PreferVersionDllBeside {
    const char* app = "Software\\Wine\\AppDefaults\\planted-beside.exe";
    std::string overrides = app + std::string("\\DllOverrides");
    PreferVersionDllBeside() {
        HKEY key = nullptr;
        RegCreateKeyA(HKEY_CURRENT_USER, overrides.c_str(), &key);
        RegSetValueExA(key, "version", 0, REG_SZ, reinterpret_cast<const BYTE*>("n,b"), 4);
        RegCloseKey(key);
    }
    ~PreferVersionDllBeside() {
        RegDeleteKeyA(HKEY_CURRENT_USER, overrides.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, app);
    }
};

// The folder also holds a version.dll of someone else's, which the program must not bind to.
TEST_F(AppTest, EnterRunsExecuteAndHelpReportsAMissingManual) {
    AppCopy copy(std::nullopt, "planted-beside.exe");  // a folder without mirlka.html
    ASSERT_TRUE(CopyFileW(Wide(BesideExe("planted\\version.dll")).c_str(),
                          (copy.folder() + L"version.dll").c_str(), FALSE));
    const PreferVersionDllBeside preferred;
    App app(copy);
    ASSERT_TRUE(app.window());
    HWND field = FindWindowExA(app.Control(IDC_PRESET), nullptr, "Edit", nullptr);
    ASSERT_TRUE(field);
    app.TypePresetName("x");
    // Through the program's message loop, as typed: Execute is the default button, and with no
    // host to talk to the user hears so.
    BoxWatcher watcher(BoxSource::Process(app.processId()), IDOK, 60s);
    PostMessageA(field, WM_KEYDOWN, VK_RETURN, 1);
    const SeenBox failed = watcher.Wait();
    EXPECT_EQ(failed.title + " / " + failed.text,
              Shown("string-table.txt", "137") + " / " + Shown("string-table.txt", "147"));
    EXPECT_EQ(app.ComboItems(IDC_PRESET), std::vector<std::string>{});  // not Save
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(failed.window); }));

    BoxWatcher about(BoxSource::Process(app.processId()), IDCANCEL, 60s);
    PostMessageA(app.window(), WM_COMMAND, IDM_ABOUT, 0);
    const SeenBox aboutBox = about.Wait();
    EXPECT_EQ(aboutBox.title, Shown("window-texts.txt", "100 caption"));
    // Its version texts came through the system's version.dll, and so did the start's.
    EXPECT_EQ(ControlTexts(aboutBox.controls, IDC_ABOUT_EXEPATH), Shown("window-texts.txt", "100"));
    EXPECT_EQ(GetFileAttributesW((copy.folder() + L"version-called").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(aboutBox.owner, app.window());
    // F1 goes through the program's accelerators to the manual, which is not there. The about box
    // may still be on its way out.
    BoxWatcher error(BoxSource::Process(app.processId()), IDOK, 60s, aboutBox.window);
    PostMessageA(app.window(), WM_KEYDOWN, VK_F1, 1);
    const SeenBox box = error.Wait();
    EXPECT_EQ(box.title, Shown("string-table.txt", "137"));
    EXPECT_EQ(box.owner, app.window());
    EXPECT_FALSE(box.text.empty());
}

// A place partly off the screen, as it stands. File > Exit saves exactly what closing saves, and
// so does the end of the session, after which Windows ends the process without a close: asking
// nothing, once whatever follows, and nothing at all when the session end is called off.
TEST_F(AppTest, TheWindowOpensWhereItWasSavedAndFileExitOrTheSessionsEndSaves) {
    const std::string settings = "[AppSetting]\r\nLeft=-20\r\nTop=-30\r\n[LastState]\r\n7=7\r\n";
    for (const std::string what :
         {"File > Exit", "session end, then ended", "session end, then closed"}) {
        SCOPED_TRACE(what);
        const bool session = what.starts_with("session"), closedAfter = what.ends_with("closed");
        AppCopy copy(settings);
        App app(copy);
        ASSERT_TRUE(app.window());
        const RECT rect = WindowRect(app.window());
        EXPECT_TRUE(rect.left == -20 && rect.top == -30) << rect.left << " " << rect.top;
        // The session's work: a preset saved, then a row changed and the window moved.
        app.TypePresetName("Bass");
        app.Click(IDC_PRESET_SAVE);
        app.SelectRows({1});
        app.Choose(IDC_CHANNEL, 4);
        SetWindowPos(app.window(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageA(app.window(), WM_EXITSIZEMOVE, 0, 0);
        if (!session) {
            ASSERT_TRUE(app.ChooseMenuItem('f', 'x'));
            ASSERT_EQ(WaitForSingleObject(app.process(), 60000), WAIT_OBJECT_0);
        } else {
            DeleteToolKey();
            EXPECT_EQ(app.SendToWindow(WM_QUERYENDSESSION, 0), TRUE);
            app.SendToWindow(WM_ENDSESSION, FALSE);
            EXPECT_EQ(copy.Settings(), settings);
            EXPECT_FALSE(ToolKeyExists());
            app.SendToWindow(WM_ENDSESSION, TRUE);
            EXPECT_TRUE(ToolKeyExists());  // the registration applied as at a close
        }
        if (session && !closedAfter) {
            TerminateProcess(app.process(), 0);
            ASSERT_EQ(WaitForSingleObject(app.process(), 60000), WAIT_OBJECT_0);
        }
        EXPECT_EQ(copy.Settings(),
                  AppSetting(30, 40, 1) + "\r\n[Bass]\r\n7=7\r\n\r\n[LastState]\r\n2=4\r\n7=7\r\n");
        if (closedAfter) {
            DeleteFileW(copy.SettingsPath().c_str());
            ASSERT_TRUE(app.Close());
            EXPECT_EQ(copy.Settings(), std::nullopt);
        }
    }
}

// Off every display (where the two-display bed's second one was): on the primary, and saved so.
TEST_F(AppTest, APlaceOffEveryDisplayOpensOnTheNearestOne) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    AppCopy copy(AppSetting(work.right + 76, work.top + 100, 1));
    App app(copy);
    ASSERT_TRUE(app.window());
    const LONG left = work.right - (WindowRect(app.window()).right - WindowRect(app.window()).left);
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(copy.Settings(), AppSetting(left, work.top + 100, 1) + "\r\n[LastState]\r\n");
}

// On the second display of scripts/two-displays.sh's bed (1024,0 to 1824,600): restored there, and
// the about box, opened first thing in the process, centred over the window there.
TEST(TwoDisplays, APlaceOnTheSecondIsRestoredThereAndTheAboutBoxOpensOverIt) {
    AppCopy copy(AppSetting(1124, 50, 1));
    App app(copy);
    ASSERT_TRUE(app.window());
    const RECT at = WindowRect(app.window());
    BoxWatcher about(BoxSource::Process(app.processId()), IDCANCEL, 60s);
    PostMessageA(app.window(), WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_TRUE(at.left == 1124 && at.top == 50 && CentredOver(about.Wait().rect, app.window()));
}

TEST_F(AppTest, ASecondStartLeavesTheFileAloneAndTheMenuTogglesTheRegistration) {
    const std::string settings = "[AppSetting]\r\nLeft=30\r\nTop=40\r\nAddCakewalkTool=1\r\n";
    AppCopy copy(settings);
    App first(copy);
    ASSERT_TRUE(first.window());
    auto minimise = [&] {
        ShowWindow(first.window(), SW_MINIMIZE);
        return WaitFor([&] { return IsIconic(first.window()) != FALSE; });
    };
    SetWindowPos(first.window(), nullptr, 210, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(first.window(), WM_EXITSIZEMOVE, 0, 0);  // the end of the user's move
    ASSERT_TRUE(minimise());

    EXPECT_EQ(App::RunToEnd(copy, 60000), 0u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(first.window()); }));
    EXPECT_EQ(GetForegroundWindow(), first.window());
    EXPECT_EQ(copy.Settings(), settings);

    // File > register: each choice follows the check mark that the opening menu showed.
    ASSERT_TRUE(WaitFor(ToolKeyExists));
    for (bool registered : {false, true, false}) {
        ASSERT_TRUE(first.ChooseMenuItem('f', 't'));
        EXPECT_TRUE(WaitFor([&] { return ToolKeyExists() == registered; })) << registered;
    }

    // Closed while minimised, it saves the place of its last move.
    ASSERT_TRUE(minimise());
    ASSERT_TRUE(first.Close());
    EXPECT_EQ(copy.Settings(), AppSetting(210, 160, 0) + "\r\n[LastState]\r\n");
    EXPECT_FALSE(ToolKeyExists());
}

// `count` sections named `prefix` and a number, each holding `lines`.
std::string Sections(int count, const std::string& prefix, const std::string& lines) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.append("[").append(prefix).append(std::to_string(i)).append("]\r\n").append(lines);
    }
    return text;
}

struct HostileFile {
    const char* what;
    std::string bytes;
};

// Settings files as users leave them after years of hand edits and copies: huge or broken. The
// program must start on each, and its exit must keep what the file held.
TEST_F(AppTest, AHugeOrBrokenSettingsFileIsKept) {
    std::string rows;
    for (int row = 1; row <= 34; ++row) {
        rows.append(std::to_string(row)).append("=7\r\n");
    }
    const HostileFile files[] = {
        {"100,000 presets in 20 MB", Sections(100000, "Preset ", rows)},
        {"a line of 1 MB", "[Long]\r\n1=" + std::string(1 << 20, '5') + "\r\n"},
        {"100,000 empty sections", Sections(100000, "", "")},
    };
    for (const HostileFile& file : files) {
        SCOPED_TRACE(file.what);
        AppCopy copy(file.bytes);
        App app(copy);
        ASSERT_TRUE(app.window());
        const RECT rect = WindowRect(app.window());
        ASSERT_TRUE(app.Close());
        // The sections as the format keeps them, then the program's own state after them.
        const std::string kept = RenderSettings(ParseSettings(file.bytes));
        EXPECT_TRUE(copy.Settings() == kept + (kept.empty() ? "" : "\r\n") +
                                           AppSetting(rect.left, rect.top, 1) +
                                           "\r\n[LastState]\r\n");
    }
}

// Started from a folder of any name in any code page, the program keeps its settings beside
// itself and nowhere else; a settings path that is a folder or too long is left alone.
TEST_F(AppTest, AFolderOfAnyNameHoldsTheSettingsFile) {
    const std::string presets = "[\x83\x41]\r\n1=3\r\n\r\n[\x83\x61]\r\n1=7\r\n\r\n";
    const std::string held = presets + "[LastState]\r\n1=5\r\n";
    for (const Fields& row : ReadCases("program-folders.txt")) {
        if (row[0] != "*" && std::stoul(row[0]) != GetACP()) {
            continue;
        }
        SCOPED_TRACE(row[1] + row[2]);
        const bool folder = row[4] == "folder", kept = row[5] == "-";
        AppCopy copy(folder ? std::nullopt : std::optional(held), row[2].c_str(),
                     std::stoul(row[3]), Wide(row[1], CP_UTF8));
        if (folder) {
            std::filesystem::create_directory(copy.SettingsPath());
        }
        App app(copy);
        ASSERT_TRUE(app.window());
        EXPECT_EQ(app.ChannelText(0), kept ? "" : "5");
        ASSERT_EQ(app.ComboItems(IDC_PRESET).size(), kept ? 0u : 2u);
        if (!kept) {
            app.Choose(IDC_PRESET, 1);
            EXPECT_EQ(app.ChannelText(0), row[5]);
        }
        const RECT rect = WindowRect(app.window());
        ASSERT_TRUE(app.Close());
        EXPECT_EQ(copy.Settings(), kept ? (folder ? std::nullopt : std::optional(held))
                                        : presets + AppSetting(rect.left, rect.top, 1) +
                                              "\r\n[LastState]\r\n1=" + row[5] + "\r\n");
        // The program and its settings file, and nothing beside their folder.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(copy.folder()), {}), 2);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(copy.root()), {}),
                  copy.root() == copy.folder() ? 2 : 1);
    }
}

// Presses Execute without waiting for the run, and returns once the host has its first text.
bool StartRun(const App& app, const HostSim& host) {
    const std::size_t before = host.Executes().size();
    PostMessageA(app.window(), WM_COMMAND, MAKEWPARAM(IDC_EXECUTE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app.Control(IDC_EXECUTE)));
    return WaitFor([&] { return host.Executes().size() > before; });
}

// Against a host that takes its time over every expression, as one working through a big song
// does: no control that changes the table or the presets takes input during a run, and each is
// as enabled as before once it is over, the focus back where it was; input during a first run
// starts no other run; a close during a second run ends the program once that run is over, with
// the state saved once.
TEST_F(AppTest, InputDuringARunStartsNoOtherRunAndACloseWaitsForItsEnd) {
    HostSim host("--ack-delay 700");
    ASSERT_TRUE(host.WaitReady());
    AppCopy copy("[LastState]\r\n1=3\r\n2=4\r\n");  // two texts and the closing one
    App app(copy);
    ASSERT_TRUE(app.window());
    const auto enabled = [&] {
        std::string states;
        for (int id : {IDC_PRESET, IDC_PRESET_SAVE, IDC_PRESET_DELETE, IDC_CHANNEL, IDC_TRACKLIST,
                       IDC_RESET, IDC_EXECUTE}) {
            states += IsWindowEnabled(app.Control(id)) ? '1' : '0';
        }
        return states;
    };
    app.SendToWindow(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Control(IDC_TRACKLIST)), TRUE);
    ASSERT_EQ(enabled(), "1000111");  // no preset name, no row selected
    ASSERT_TRUE(StartRun(app, host));
    EXPECT_EQ(enabled(), "0000000");
    EXPECT_NE(host.LogLines().back(), "disconnect");  // looked at while the run lasted
    HWND execute = app.Control(IDC_EXECUTE);
    // Queued input, and a click that the system delivers inside the run's waits.
    HWND field = FindWindowExA(app.Control(IDC_PRESET), nullptr, "Edit", nullptr);
    for (int i = 0; i < 4; ++i) {  // more than the run drops between its texts
        PostMessageA(execute, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(execute, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PostMessageA(field, WM_KEYDOWN, VK_RETURN, 1);  // Enter runs the default button
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(execute, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    EXPECT_EQ(host.LogAfterDisconnect(20000).back(), "disconnect");
    EXPECT_FALSE(BoxWatcher(BoxSource::Process(app.processId()), IDOK, 3s).Wait());  // no box
    EXPECT_EQ(host.Executes().size(), 3u);
    EXPECT_TRUE(WaitFor([&] {
        return enabled() == "1000111" && app.Focus() == app.Control(IDC_TRACKLIST);
    })) << enabled();

    const RECT rect = WindowRect(app.window());
    ASSERT_TRUE(StartRun(app, host));
    SendMessageTimeoutA(app.window(), WM_CLOSE, 0, 0, SMTO_NORMAL, 1000, &ignored);
    EXPECT_EQ(WaitForSingleObject(app.process(), 60000), WAIT_OBJECT_0);
    EXPECT_EQ(host.Executes().size(), 6u);
    EXPECT_EQ(copy.Settings(),
              AppSetting(rect.left, rect.top, 1) + "\r\n[LastState]\r\n1=3\r\n2=4\r\n");
}

}  // namespace
}  // namespace mirlka::test
