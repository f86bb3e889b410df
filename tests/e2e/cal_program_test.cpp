// File > Save as CAL Program through the system's Save As dialog, and the saved program run in
// the host simulator: it leaves the song exactly as Execute leaves it.
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/win/app_driver.h"
#include "driver/win/host_sim.h"
#include "res/resource.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace mirlka::test {
using namespace mirlka::driver;
namespace {

using namespace std::chrono_literals;

// Chooses the command and answers the system's Save As dialog with `name` typed and Save; its
// window.
HWND SaveCalProgramAs(const App& app, const std::wstring& name) {
    PostMessageA(app.window(), WM_COMMAND, IDM_SAVE_CAL_PROGRAM, 0);
    HWND dialog = nullptr;
    GUITHREADINFO info{sizeof info, 0, {}, {}, {}, {}, {}, {}, {}};
    WaitFor([&] {
        dialog = FindMessageBox(BoxSource::Process(app.processId()));
        return dialog && GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
               GetAncestor(info.hwndFocus, GA_ROOT) == dialog;
    });
    SendMessageW(info.hwndFocus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return dialog;
}

TEST(CalProgram, TheSavedProgramDoesInTheHostWhatExecuteDoes) {
    AppCopy copy("[LastState]\r\n1=1\r\n3=10\r\n256=16\r\n");
    const std::wstring folder = copy.root() + L"\u66f2 \u00fc\\";  // no code page has both
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    App app(copy);
    ASSERT_TRUE(app.window());
    ASSERT_TRUE(SaveCalProgramAs(app, folder + L"batch"));  // the extension comes by itself
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(folder + L"batch.cal").has_value(); }));
    const std::string program = *ReadFileBytes(folder + L"batch.cal");
    EXPECT_EQ(program, GoldenText("cal-programs.txt", "256:16 3:10 1:1"));
    const std::string block = "(do\r\n" + GoldenText("cal-expressions.txt", "0 1") + "\r\n" +
                              GoldenText("cal-expressions.txt", "2 10") + "\r\n" +
                              GoldenText("cal-expressions.txt", "255 16") + "\r\n" +
                              GoldenText("cal-expressions.txt", "closing") + "\r\n)\r\n";
    EXPECT_TRUE(program.ends_with(block));

    // Saved again where the file is held open: the system's question, then its reason.
    {
        const HANDLE held = CreateFileW((folder + L"batch.cal").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        HWND dialog = SaveCalProgramAs(app, folder + L"batch.cal");
        EXPECT_TRUE(BoxWatcher(BoxSource::Process(app.processId()), IDYES, 60s, dialog).Wait());
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
        const SeenBox error = BoxWatcher(BoxSource::Process(app.processId()), IDOK).Wait();
        EXPECT_EQ(error.title, Shown("string-table.txt", "137"));
        CloseHandle(held);
    }
    EXPECT_EQ(ReadFileBytes(folder + L"batch.cal"), program);

    std::vector<std::string> before, executed;
    {
        HostSim host("--tracks 256");
        ASSERT_TRUE(host.WaitReady());
        before = host.SongLines();
        app.Click(IDC_EXECUTE);
        EXPECT_EQ(host.LogAfterDisconnect().back(), "disconnect");
        executed = host.SongLines();
    }
    EXPECT_NE(executed, before);
    // The simulator reads its command line in the ANSI code page.
    const TempFolder plain("mirlka-cal");
    ASSERT_TRUE(CopyFileW((folder + L"batch.cal").c_str(), Wide(plain / "b.cal").c_str(), FALSE));
    HostSim host("--tracks 256 --run-cal \"" + plain / "b.cal" + "\"");
    ASSERT_TRUE(host.WaitReady());
    EXPECT_EQ(
        host.LogLines(),
        std::vector<std::string>{"run-cal size=" + std::to_string(program.size()) + " result=ok"});
    EXPECT_EQ(host.SongLines(), executed);
}

}  // namespace
}  // namespace mirlka::test
