// Execute against a host that takes its time over every expression, as one working through a big
// song does: the run waits for it, tells no false failure, and lets nothing start a second run.
#include <gtest/gtest.h>

#include <string>

#include "driver/win/app_driver.h"
#include "driver/win/host_sim.h"
#include "res/resource.h"
#include "win/box_watcher.h"

namespace mirlka::test {
using namespace mirlka::driver;
namespace {

// Rows 1 and 2 assigned: a batch of three executes with the closing expression.
const char* const kTwoRows =
    "[AppSetting]\r\nLeft=50\r\nTop=60\r\nAddCakewalkTool=0\r\n\r\n"
    "[LastState]\r\n1=3\r\n2=4\r\n";

// Presses Execute without waiting for the run, and returns once the host has its first text.
bool StartRun(const App& app, const HostSim& host) {
    const std::size_t before = host.Executes().size();
    PostMessageA(app.window(), WM_COMMAND, MAKEWPARAM(IDC_EXECUTE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(app.Control(IDC_EXECUTE)));
    return WaitFor([&] { return host.Executes().size() > before; }, 20000);
}

// No message box of the program comes up within a few seconds.
bool NoBox(const App& app) {
    return !BoxWatcher(BoxSource::Process(app.processId()), IDOK, std::chrono::seconds(3)).Wait();
}

// Input during a first run starts no other run; a close during a second run ends the program once
// that run is over, with the state saved once.
TEST(SlowHostTest, InputDuringARunStartsNoOtherRunAndACloseWaitsForItsEnd) {
    HostSim host("--ack-delay 700");
    ASSERT_TRUE(host.WaitReady());
    AppCopy copy(kTwoRows);
    App app(copy);
    ASSERT_TRUE(app.window());
    ASSERT_TRUE(StartRun(app, host));
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
    EXPECT_TRUE(NoBox(app));
    EXPECT_EQ(host.Executes().size(), 3u);

    RECT rect{};
    GetWindowRect(app.window(), &rect);
    ASSERT_TRUE(StartRun(app, host));
    SendMessageTimeoutA(app.window(), WM_CLOSE, 0, 0, SMTO_NORMAL, 1000, &ignored);
    EXPECT_EQ(WaitForSingleObject(app.process(), 20000), WAIT_OBJECT_0);
    EXPECT_EQ(host.Executes().size(), 6u);
    EXPECT_EQ(copy.Settings(), "[AppSetting]\r\nLeft=" + std::to_string(rect.left) +
                                   "\r\nTop=" + std::to_string(rect.top) +
                                   "\r\nAddCakewalkTool=0\r\n\r\n[LastState]\r\n1=3\r\n2=4\r\n");
}

}  // namespace
}  // namespace mirlka::test
