// File > Save as CAL Program through the system's Save As dialog, and the program run in the host
// simulator: the song ends as Execute leaves it.
#include <gtest/gtest.h>

#include <windows.h>

#include "driver/win/app_driver.h"
#include "driver/win/host_sim.h"
#include "res/resource.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace mirlka::test {
namespace {

using namespace std::chrono_literals;

TEST(CalProgram, TheSavedProgramDoesInTheHostWhatExecuteDoes) {
    AppCopy copy("[LastState]\r\n1=1\r\n3=10\r\n256=16\r\n");
    const std::wstring folder = copy.root() + L"\u66f2 \u00fc\\", file = folder + L"batch.cal";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));  // no code page has both
    App app(copy);
    ASSERT_TRUE(app.SaveCalProgramAs(folder + L"batch"));  // the extension comes by itself
    std::string program;
    ASSERT_TRUE(WaitFor([&] { return !(program = ReadFileBytes(file).value_or("")).empty(); }));
    EXPECT_EQ(program, GoldenText("cal-programs.txt", "256:16 3:10 1:1"));
    for (const char* key : {"0 1", "2 10", "255 16", "closing"}) {  // each on a line of its own
        EXPECT_NE(program.find("\n" + GoldenText("cal-expressions.txt", key) + "\r\n"),
                  std::string::npos);
    }

    // Saved again onto the file while it is held open: the system's question, then its reason.
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
    const HWND dialog = app.SaveCalProgramAs(file);
    EXPECT_TRUE(BoxWatcher(BoxSource::Process(app.processId()), IDYES, 60s, dialog).Wait());
    EXPECT_EQ(BoxWatcher(BoxSource::Process(app.processId()), IDOK, 60s, dialog).Wait().title,
              Shown("string-table.txt", "137"));
    CloseHandle(held);  // that the file stays is the durable write's, in the core's tests

    std::vector<std::string> executed;
    {
        HostSim host("--tracks 256");
        ASSERT_TRUE(host.WaitReady());
        app.Click(IDC_EXECUTE);
        host.LogAfterDisconnect();
        executed = host.SongLines();
    }
    // The simulator's command line is ANSI: the program goes there under a plain name.
    const TempFolder plain("mirlka-cal");
    ASSERT_TRUE(CopyFileW(file.c_str(), Wide(plain / "b.cal").c_str(), FALSE));
    HostSim host("--tracks 256 --run-cal \"" + plain / "b.cal" + "\"");
    ASSERT_TRUE(host.WaitReady());
    EXPECT_EQ(host.SongLines(), executed);
}

}  // namespace
}  // namespace mirlka::test
