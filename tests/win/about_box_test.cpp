// The about box as the user meets it, and the manual beside the executable. The box reads its
// texts from the module it is created from: a copy of mirlka.exe in a folder without a manual.
#include "ui/win/about_box.h"
#include "ui/win/shell_open.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>

#include "base/win/app_globals.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace {

using mirlka::Globals;
using namespace mirlka::test;
using namespace std::chrono_literals;

// `folder` (ending in a backslash) made `length` bytes long by creating nested folders below it.
std::string DeepFolder(std::string folder, std::size_t length) {
    while (folder.size() < length) {
        // Components of up to 100 bytes; never leave a single byte, which no component fits.
        const std::size_t rest = length - folder.size() - 1;
        const std::size_t part = rest <= 100 ? rest : (rest == 101 ? 99 : 100);
        folder += std::string(part, 'd') + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

// A copy of the program in a folder of its own, mapped as an image so that its path, version block,
// string table and dialogs are there but none of its code runs.
class ProgramCopy {
  public:
    explicit ProgramCopy(const std::string& folder) : path_(folder + "mirlka.exe") {
        CopyFileA(BesideExe("mirlka.exe").c_str(), path_.c_str(), FALSE);
        module_ = LoadLibraryExA(path_.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        previous_ = Globals().instance;
        Globals().instance = module_;
    }
    ~ProgramCopy() {
        Globals().instance = previous_;
        if (module_) {
            FreeLibrary(module_);
        }
        DeleteFileA(path_.c_str());
    }
    HINSTANCE module() const { return module_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    HINSTANCE module_ = nullptr;
    HINSTANCE previous_ = nullptr;
};

class AboutBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(program_.module(), nullptr) << GetLastError();
        // The program's windows carry its module, whose string table serves their message boxes.
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150,
                                 700, 500, nullptr, nullptr, program_.module(), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Shows the about box the program's way on this thread while `drive` handles it from another.
    // True when the box closed by itself; one left open is ended so that no test can hang.
    bool RunAboutBox(const std::function<void(HWND box)>& drive) {
        const DWORD thread = GetCurrentThreadId();
        bool closed = false;
        std::thread driver([&] {
            HWND box = nullptr;
            if (!WaitFor([&] { return (box = FindMessageBox(BoxSource::Thread(thread))); },
                         15000)) {
                return;
            }
            drive(box);
            closed = WaitFor([&] { return !IsWindow(box); }, 3000);
            if (!closed) {
                EndDialog(box, 0);
            }
        });
        mirlka::ShowAboutBox(owner_);
        driver.join();
        return closed;
    }

    TempFolder rootFolder_{"mirlka-about"};
    const std::string root_ = rootFolder_.path();
    ProgramCopy program_{root_};
    HWND owner_ = nullptr;
};

LOGFONTA FontOf(HFONT handle) {
    LOGFONTA font{};
    GetObjectA(handle, sizeof font, &font);
    return font;
}

TEST_F(AboutBoxTest, ShowsVersionTextsPathAndWebSiteInABoldDescriptionCentredOverItsOwner) {
    const std::pair<int, std::string> expected[] = {
        {134, "Mirelka for Cakewalk version 1.01"},
        {135, "Copyright (C) 2005-2026 Mirelka project"},
        {136, ToAnsi("Cakewalkの各トラックのMIDIチャンネルを、一括変更するためのプログラムです。")},
        {1005, program_.path()},
        {1002, "https://mirelka.example.org/"}};
    std::string texts[5];
    LOGFONTA dialogFont{}, bold{};
    HFONT boldHandle = nullptr;
    RECT box{}, owner{};
    const bool closed = RunAboutBox([&](HWND dialog) {
        for (int i = 0; i < 5; ++i) {
            texts[i] = WindowTextOf(GetDlgItem(dialog, expected[i].first));
        }
        dialogFont = FontOf(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        boldHandle = reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, 134, WM_GETFONT, 0, 0));
        bold = FontOf(boldHandle);
        GetWindowRect(dialog, &box);
        GetWindowRect(owner_, &owner);
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);  // the OK button
    });
    ASSERT_NE(boldHandle, nullptr) << "no about box";
    EXPECT_TRUE(closed) << "OK did not end the box";
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(texts[i], expected[i].second) << expected[i].first;
    }
    // The dialog's own font, 14 high and bold.
    EXPECT_EQ(bold.lfHeight, 14);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_NE(dialogFont.lfWeight, FW_BOLD);
    EXPECT_STREQ(bold.lfFaceName, dialogFont.lfFaceName);
    EXPECT_EQ(bold.lfCharSet, dialogFont.lfCharSet);
    EXPECT_EQ(GetObjectA(boldHandle, 0, nullptr), 0) << "the bold font outlives the box";
    EXPECT_NEAR((box.left + box.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
}

std::set<DWORD> ChildProcesses() {
    std::set<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId()) {
            children.insert(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return children;
}

// A child process that is not in `before`, looked for during `ms`; 0 if none appears.
DWORD NewChild(const std::set<DWORD>& before, DWORD ms) {
    DWORD found = 0;
    WaitFor(
        [&] {
            for (DWORD child : ChildProcesses()) {
                found = before.count(child) ? found : child;
            }
            return found != 0;
        },
        ms);
    return found;
}

// The command line of another process, read from its process parameters.
std::string CommandLineOf(HANDLE process) {
    using QueryFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    SIZE_T read = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 ||
        !ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, &read) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, &read)) {
        return {};
    }
    std::wstring wide(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    ReadProcessMemory(process, parameters.CommandLine.Buffer, wide.data(),
                      parameters.CommandLine.Length, &read);
    std::string text(wide.size() * 2 + 1, '\0');
    text.resize(static_cast<std::size_t>(
                    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(),
                                        static_cast<int>(text.size()), nullptr, nullptr)) -
                1);
    return text;
}

void Click(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// No to the web site's question opens and reports nothing; the browse button starts Explorer with
// the executable selected. Enter then ends the box through its default button.
TEST_F(AboutBoxTest, WebSiteAsksFirstAndBrowseSelectsTheExecutableInExplorer) {
    const auto before = ChildProcesses();
    SeenBox question;
    HWND afterNo = nullptr, about = nullptr;
    DWORD startedAfterNo = 0, explorer = 0;
    const bool closed = RunAboutBox([&](HWND box) {
        about = box;
        const BoxSource source = BoxSource::Thread(GetWindowThreadProcessId(box, nullptr));
        BoxWatcher watcher(source, IDNO, 5s, box);
        Click(box, 1002);
        question = watcher.Wait();
        // A browser started through the shell may live only for a moment: look for a second.
        startedAfterNo = NewChild(before, 1000);
        afterNo = FindMessageBox(source, box);
        Click(box, 1003);
        explorer = NewChild(before, 5000);
        PostMessageA(GetDlgItem(box, 1005), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(closed) << "Enter did not end the box";
    ASSERT_TRUE(question) << "no question was asked";
    EXPECT_EQ(question.owner, about);
    EXPECT_EQ(question.title, ToAnsi("確認"));
    EXPECT_EQ(question.text, ToAnsi("WWWブラウザを起動し、インターネットへの接続を試みますか?"));
    EXPECT_TRUE(question.pressed) << "no No button";
    EXPECT_EQ(afterNo, nullptr) << "something was reported after No";
    EXPECT_EQ(startedAfterNo, 0u) << "something was started after No";

    ASSERT_NE(explorer, 0u) << "nothing was started";
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE,
                    FALSE, explorer);
    ASSERT_NE(process, nullptr);
    std::string commandLine = CommandLineOf(process);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    const std::string argument = " /e, /select, " + program_.path();
    ASSERT_GE(commandLine.size(), argument.size()) << commandLine;
    EXPECT_EQ(commandLine.substr(commandLine.size() - argument.size()), argument);
    CharLowerA(commandLine.data());
    EXPECT_NE(commandLine.find("explorer"), std::string::npos) << commandLine;
}

// Escape and the close box end the box as its OK button does (Enter is covered above).
TEST_F(AboutBoxTest, EscapeAndTheCloseBoxEndTheBox) {
    const std::function<void(HWND)> ways[] = {
        [](HWND box) { PostMessageA(GetDlgItem(box, 1005), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& way : ways) {
        EXPECT_TRUE(RunAboutBox(way));
    }
}

// A cut path could name some other file, so the manual of a folder a byte too deep is refused.
// The user reads the system's reason in an error box over the owner.
TEST_F(AboutBoxTest, ManualIsLookedForBesideTheExecutableAndFailuresAreReported) {
    const auto expectReported = [&](DWORD code) {
        BoxWatcher watcher(BoxSource::ThisThread(), IDOK);
        mirlka::OpenManual(owner_);
        const SeenBox box = watcher.Wait();
        ASSERT_TRUE(box) << code;
        EXPECT_EQ(box.owner, owner_) << code;
        EXPECT_EQ(box.title, ToAnsi("エラー")) << code;
        EXPECT_EQ(box.text, SystemText(code)) << code;
    };
    char buffer[MAX_PATH];
    ASSERT_TRUE(mirlka::GetManualPath(buffer));
    EXPECT_EQ(std::string(buffer), root_ + "mirlka.html");
    expectReported(ERROR_FILE_NOT_FOUND);
    {
        ProgramCopy deep(DeepFolder(root_, MAX_PATH - 11));
        ASSERT_NE(deep.module(), nullptr) << GetLastError();
        EXPECT_FALSE(mirlka::GetManualPath(buffer));
        EXPECT_EQ(std::string(buffer), "");
        expectReported(ERROR_FILENAME_EXCED_RANGE);
    }
    Globals().instance = nullptr;  // the running program's own file
    ASSERT_TRUE(mirlka::GetManualPath(buffer));
    EXPECT_EQ(std::string(buffer), BesideExe("mirlka.html"));
}

}  // namespace
