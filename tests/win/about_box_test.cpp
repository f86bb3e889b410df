// The about box as the user meets it, and the manual beside the executable. The box reads its
// texts from the module it is created from: a copy of mirlka.exe in a folder without a manual.
#include "ui/win/about_box.h"
#include "ui/win/shell_open.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>

#include "driver/win/app_driver.h"
#include "golden.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace {

using namespace mirlka::test;
using namespace std::chrono_literals;

// A copy of the program in a folder of its own, `folderLength` characters deep if given, mapped as
// an image so that its path, version block, string table and dialogs are there but none of its
// code runs. Its folder's name has a character that code page 932 lacks and a comma.
class ProgramCopy {
  public:
    explicit ProgramCopy(std::size_t folderLength = 0)
        : copy_(std::nullopt, "mirlka.exe", folderLength,
                folderLength ? L"" : L"J\u00F6rg, \u8868"),
          module_(LoadLibraryExW(copy_.ExePath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES)) {}
    ~ProgramCopy() { FreeLibrary(module_); }
    HINSTANCE module() const { return module_; }
    const AppCopy& copy() const { return copy_; }

  private:
    AppCopy copy_;
    HINSTANCE module_;
};

class AboutBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(program_.module(), nullptr) << GetLastError(); }

    // Shows the about box the program's way on this thread while `drive` handles it from another.
    // True when the box closed by itself; one left open is ended so that no test can hang.
    bool RunAboutBox(const std::function<void(HWND box)>& drive) {
        bool closed = false;
        std::thread driver([&, thread = GetCurrentThreadId()] {
            HWND box = nullptr;
            if (WaitFor([&] { return (box = FindMessageBox(BoxSource{thread})); }, 15000)) {
                drive(box);
                closed = WaitFor([&] { return !IsWindow(box); }, 3000);
                closed || EndDialog(box, 0);
            }
        });
        mirlka::ShowAboutBox(owner_);
        driver.join();
        return closed;
    }

    ProgramCopy program_;
    Window window_ = ProgramWindow(program_.module(), {200, 150, 900, 650});
    HWND owner_ = window_.get();
};

// The font that a window draws its text with.
LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// (Its version texts are read where a version.dll is planted beside the program: app_test.cpp.)
TEST_F(AboutBoxTest, ShowsTheWebSiteInABoldDescriptionCentredOverItsOwner) {
    const std::pair<int, std::string> expected[] = {{1002, AnsiGolden("string-table.txt", "2")}};
    HFONT bold = nullptr;
    EXPECT_TRUE(RunAboutBox([&](HWND dialog) {
        for (const auto& [id, text] : expected) {
            EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, id)), text) << id;
        }
        // The path as the system has it: ö stays ö.
        wchar_t path[MAX_PATH] = L"";
        GetDlgItemTextW(dialog, 1005, path, MAX_PATH);
        EXPECT_EQ(path, program_.copy().ExePath());
        // The dialog's own font, 14 high and bold.
        const LOGFONTA font = FontOf(dialog), description = FontOf(GetDlgItem(dialog, 134));
        EXPECT_EQ(description.lfHeight, 14);
        EXPECT_EQ(description.lfWeight, FW_BOLD);
        EXPECT_NE(font.lfWeight, FW_BOLD);
        EXPECT_STREQ(description.lfFaceName, font.lfFaceName);
        EXPECT_EQ(description.lfCharSet, font.lfCharSet);
        bold = reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, 134, WM_GETFONT, 0, 0));
        RECT box{};
        GetWindowRect(dialog, &box);
        EXPECT_TRUE(CentredOver(box, owner_));
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);  // the OK button
    })) << "OK did not end the box";
    ASSERT_NE(bold, nullptr) << "no about box";
    EXPECT_EQ(GetObjectA(bold, 0, nullptr), 0) << "the bold font outlives the box";
}

// The file name of a process that this one started and that `seen` does not hold yet, looked for
// during `ms`; empty if none appears. Each one found is ended and added to `seen`.
std::string NewChild(std::set<DWORD>& seen, DWORD ms) {
    std::string name;
    WaitFor(
        [&] {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            PROCESSENTRY32 entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32First(snapshot, &entry); more;
                 more = Process32Next(snapshot, &entry)) {
                if (entry.th32ParentProcessID == GetCurrentProcessId() &&
                    seen.insert(entry.th32ProcessID).second) {
                    name = CharLowerA(entry.szExeFile);
                    HANDLE child = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
                    TerminateProcess(child, 0);
                    CloseHandle(child);
                }
            }
            CloseHandle(snapshot);
            return !name.empty();
        },
        ms);
    return name;
}

// No to the web site's question opens and reports nothing; the browse button starts Explorer (its
// argument is the core's). Enter then ends the box through its default button.
TEST_F(AboutBoxTest, WebSiteAsksFirstAndBrowseStartsExplorer) {
    std::set<DWORD> seen;
    NewChild(seen, 0);
    SeenBox question;
    HWND about = nullptr;
    const bool closed = RunAboutBox([&](HWND box) {
        about = box;
        const BoxSource source = {GetWindowThreadProcessId(box, nullptr)};
        BoxWatcher watcher(source, IDNO, 5s, box);
        PostMessageA(box, WM_COMMAND, 1002, 0);
        question = watcher.Wait();
        // A browser started through the shell may live only for a moment: look for a second.
        EXPECT_EQ(NewChild(seen, 1000), "") << "something was started after No";
        EXPECT_EQ(FindMessageBox(source, box), nullptr) << "something was reported after No";
        PostMessageA(box, WM_COMMAND, 1003, 0);
        EXPECT_EQ(NewChild(seen, 5000), "explorer.exe");
        PostMessageA(GetDlgItem(box, 1005), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(closed) << "Enter did not end the box";
    EXPECT_EQ(question.owner, about);
    EXPECT_EQ(question.title, AnsiGolden("string-table.txt", "138"));
    EXPECT_EQ(question.text, AnsiGolden("string-table.txt", "142"));
    EXPECT_TRUE(question.pressed) << "no No button";
}

// A cut path could name some other file, so the manual of a folder a character too deep is refused.
// The user reads the system's reason in an error box over the owner.
TEST_F(AboutBoxTest, ManualIsLookedForBesideTheExecutableAndFailuresAreReported) {
    const auto expectReported = [&](HWND owner, DWORD code) {
        BoxWatcher watcher(BoxSource::ThisThread(), IDOK);
        mirlka::OpenManual(owner);
        const SeenBox box = watcher.Wait();
        EXPECT_EQ(box.owner, owner) << code;
        EXPECT_EQ(box.title, AnsiGolden("string-table.txt", "137")) << code;
        EXPECT_EQ(box.text, SystemText(code)) << code;
    };
    EXPECT_EQ(mirlka::ManualPath(program_.module()), program_.copy().folder() + L"mirlka.html");
    expectReported(owner_, ERROR_FILE_NOT_FOUND);
    ProgramCopy deep(MAX_PATH - 11);  // a folder of 249 characters
    ASSERT_NE(deep.module(), nullptr) << GetLastError();
    EXPECT_EQ(mirlka::ManualPath(deep.module()), L"");
    const Window deepOwner = ProgramWindow(deep.module(), {200, 150, 900, 650});
    expectReported(deepOwner.get(), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(mirlka::ManualPath(nullptr), Wide(BesideExe("mirlka.html")));  // the running program
}

}  // namespace
