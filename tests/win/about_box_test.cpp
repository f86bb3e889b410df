// The about box as the user meets it, and the manual beside the executable. The box reads its
// texts from the module it is created from: a copy of mirlka.exe in a folder without a manual.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "ui/win/about_box.h"
#include "ui/win/shell_open.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
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
            if (WaitFor([&] { return (box = FindMessageBox(BoxSource{thread})); })) {
                drive(box);
                closed = WaitFor([&] { return !IsWindow(box); });
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
        // The dialog's own font, bold and 14 pixels high at 96 DPI, in proportion at others: the
        // program is DPI-aware, so nothing stretches it for the system.
        const LOGFONTA font = FontOf(dialog), description = FontOf(GetDlgItem(dialog, 134));
        const HDC screen = GetDC(nullptr);
        EXPECT_EQ(description.lfHeight, MulDiv(14, GetDeviceCaps(screen, LOGPIXELSY), 96));
        ReleaseDC(nullptr, screen);
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

// While a spy lives, this process's ShellExecuteA and ShellExecuteW (the program's code is linked
// in) run as ShellExecuteEx with the same arguments, and the shell's own answer, the process it
// started, names that program however briefly it lives; it is ended at once.
class ShellSpy {
  public:
    ShellSpy() {
        const auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             dll->Name; ++dll) {
            for (auto slot = reinterpret_cast<ULONG_PTR*>(base + dll->FirstThunk); *slot; ++slot) {
                for (int i : {0, 1}) {
                    slots_[i] = *slot == reinterpret_cast<ULONG_PTR>(real_[i]) ? slot : slots_[i];
                }
            }
        }
        started_.clear();
        Patch(reinterpret_cast<ULONG_PTR>(&RecordA), reinterpret_cast<ULONG_PTR>(&RecordW));
    }
    ~ShellSpy() {
        Patch(reinterpret_cast<ULONG_PTR>(real_[0]), reinterpret_cast<ULONG_PTR>(real_[1]));
    }

    // The started programs' file names, lower case, once `count` calls came or after `ms`.
    std::vector<std::string> Started(std::size_t count, DWORD ms) {
        while (count-- && WaitForSingleObject(called_, ms) == WAIT_OBJECT_0) {
        }
        const std::lock_guard lock(mutex_);
        return started_;
    }

  private:
    // A MinGW program's import table is writable data; a function it does not import stays as is.
    void Patch(ULONG_PTR a, ULONG_PTR w) {
        ASSERT_TRUE(slots_[0] || slots_[1]) << "this program imports no ShellExecute";
        slots_[0] && (*slots_[0] = a);
        slots_[1] && (*slots_[1] = w);
    }
    template <typename Info, typename Text>
    static HINSTANCE Record(BOOL(WINAPI* execute)(Info*), HWND owner, Text verb, Text file,
                            Text parameters, Text folder, INT show) {
        Info info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // as ShellExecute asks
        info.hwnd = owner;
        info.lpVerb = verb;
        info.lpFile = file;
        info.lpParameters = parameters;
        info.lpDirectory = folder;
        info.nShow = show;
        char path[MAX_PATH] = "(nothing)";
        if (DWORD size = MAX_PATH; execute(&info) && info.hProcess) {
            QueryFullProcessImageNameA(info.hProcess, 0, path, &size);
            TerminateProcess(info.hProcess, 0);
            CloseHandle(info.hProcess);
        }
        const std::string name = CharLowerA(path);
        const std::lock_guard lock(mutex_);
        started_.push_back(name.substr(name.rfind('\\') + 1));
        ReleaseSemaphore(called_, 1, nullptr);
        return info.hInstApp;
    }
    static HINSTANCE WINAPI RecordA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                    LPCSTR folder, INT show) {
        return Record(&ShellExecuteExA, owner, verb, file, parameters, folder, show);
    }
    static HINSTANCE WINAPI RecordW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR folder, INT show) {
        return Record(&ShellExecuteExW, owner, verb, file, parameters, folder, show);
    }

    const HMODULE shell_ = GetModuleHandleA("shell32.dll");
    const FARPROC real_[2] = {GetProcAddress(shell_, "ShellExecuteA"),
                              GetProcAddress(shell_, "ShellExecuteW")};
    ULONG_PTR* slots_[2] = {};
    static inline std::mutex mutex_;
    static inline std::vector<std::string> started_;
    static inline HANDLE called_ = CreateSemaphoreA(nullptr, 0, 100, nullptr);
};

// No to the web site's question opens and reports nothing; the browse button starts Explorer (its
// argument is the core's). Enter then ends the box through its default button.
TEST_F(AboutBoxTest, WebSiteAsksFirstAndBrowseStartsExplorer) {
    ShellSpy shell;
    SeenBox question;
    HWND about = nullptr;
    const bool closed = RunAboutBox([&](HWND box) {
        about = box;
        const BoxSource source = {GetWindowThreadProcessId(box, nullptr)};
        BoxWatcher watcher(source, IDNO, 60s, box);
        PostMessageA(box, WM_COMMAND, 1002, 0);
        question = watcher.Wait();
        // The box handles Browse once it is done with No: then the shell was called once only.
        PostMessageA(box, WM_COMMAND, 1003, 0);
        EXPECT_EQ(shell.Started(1, 30000), std::vector<std::string>{"explorer.exe"});
        EXPECT_EQ(FindMessageBox(source, box), nullptr) << "something was reported after No";
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
