// Execute over real DDE against the host simulator, with what the user is told read off the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/track_table.h"
#include "driver/win/host_sim.h"
#include "host/cal_batch.h"
#include "host/win/dde_transport.h"
#include "host/win/execute_command.h"
#include "hostsim/hex.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace mirlka::test {
using namespace mirlka::driver;
namespace {

// The simulator's log line of an execute it accepted: the bytes as the host receives them,
// terminator included, UTF-16 little-endian on a wide conversation.
std::string Executed(const std::string& text, bool wide = false) {
    std::string bytes;
    for (char c : text + '\0') {
        bytes += wide ? std::string{c, '\0'} : std::string{c};
    }
    return std::string("execute codepage=") + (wide ? "1200" : "1004") +
           " size=" + std::to_string(bytes.size()) + " bytes=" + hostsim::Hex(bytes) + " result=ok";
}
std::string Cal(const char* key) {
    return GoldenText("cal-expressions.txt", key);
}

class Execute : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(module_, nullptr); }

    // Runs Execute as the main window does on `table` and returns the boxes it showed, each
    // answered with OK; `elapsedMs_` gets the run's time.
    std::vector<SeenBox> Run(const ArrayTrackTable& table) {
        BoxWatcher watcher(BoxSource::ThisThread(), IDOK, std::chrono::hours(1), nullptr, true);
        const DWORD start = GetTickCount();
        RunExecute(owner_, table);
        elapsedMs_ = GetTickCount() - start;
        return watcher.Stop();
    }

    static inline Module module_ = LoadAsData();
    Window window_ = ProgramWindow(module_.get());
    HWND owner_ = window_.get();
    DWORD elapsedMs_ = 0;
};

// All 256 rows, the worked example among them, byte for byte on a narrow conversation.
TEST_F(Execute, EveryAssignedRowArrivesCompleteAndInOrder) {
    HostSim host("--tracks 256");
    ASSERT_TRUE(host.WaitReady());
    ArrayTrackTable table;
    std::vector<std::string> expected = {
        "connect codepage=1004 accepted=1",
        "request item=Playing format=1 reply=" + hostsim::Hex(std::string("No\0", 3))};
    for (int t = 0; t < kTrackCount; ++t) {
        const int v = (t + 7) % 16 + 1;  // track 2 gets 10
        table.SetEntry(t, v);
        expected.push_back(
            Executed(t == 2 ? Cal("2 10") : BuildTrackExpression(t, v, TextForm::Narrow).narrow));
    }
    expected.push_back(Executed(Cal("closing")));
    expected.push_back("disconnect");
    EXPECT_TRUE(Run(table).empty());
    EXPECT_EQ(host.LogAfterDisconnect(), expected);
}

// The narrow conversation is refused, and the host answers Playing later than the 10 s that the
// request waits: the host counts as not playing, and the wide texts arrive.
TEST_F(Execute, ASlowPlayingAnswerCountsAsNotPlayingAndWideTextsArrive) {
    HostSim host("--refuse-narrow --playing Yes --playing-delay 12000");
    ASSERT_TRUE(host.WaitReady());
    ArrayTrackTable table;
    table.SetEntry(2, 10);
    EXPECT_TRUE(Run(table).empty());
    std::vector<std::string> log = host.LogAfterDisconnect(20000);
    ASSERT_EQ(log.size(), 6u);
    log.erase(log.begin() + 2);  // the request, answered after it was given up
    EXPECT_EQ(log, (std::vector<std::string>{
                       "connect codepage=1004 accepted=0", "connect codepage=1200 accepted=1",
                       Executed(Cal("2 10"), true), Executed(Cal("closing"), true), "disconnect"}));
}

// Hosts that take their time, play or die during the batch: what the user is told, how many
// texts the host took, and that the run ends in time.
TEST_F(Execute, WhatTheUserIsToldOfSlowPlayingAndDyingHosts) {
    const auto rows = ReadCases("execute-runs.txt");
    ASSERT_EQ(rows.size(), 4u);
    for (const Fields& row : rows) {
        SCOPED_TRACE(row[0]);
        HostSim host(row[0]);
        ASSERT_TRUE(host.WaitReady());
        ArrayTrackTable table;
        SetEntries(table, row[1]);
        std::string told;
        for (const SeenBox& box : Run(table)) {
            told += box.title + " / " + box.text + (box.pressed ? "; " : " (no OK button); ");
        }
        std::istringstream ids(row[2]);
        std::string expected;
        for (std::string title, text; ids >> title >> text;) {
            expected += AnsiGolden("string-table.txt", title) + " / " +
                        AnsiGolden("string-table.txt", text) + "; ";
        }
        EXPECT_EQ(told, expected);
        EXPECT_EQ(host.Executes().size(), std::stoul(row[3]));
        EXPECT_LT(elapsedMs_, std::stoul(row[4]) * 1000);
    }
}

// The input a run drops: every mouse and keyboard message, the horizontal wheel's among them, and
// nothing else.
TEST(DropQueuedInput, TakesMouseAndKeyboardMessagesOnly) {
    for (UINT message : {0xFFu, 0x100u, 0x109u, 0x10Au, 0x1FFu, 0x200u, 0x20Eu, 0x20Fu}) {
        PostThreadMessageA(GetCurrentThreadId(), message, 0, 0);
    }
    DropQueuedInput();
    std::vector<UINT> kept;
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0x2FF, PM_REMOVE);) {
        kept.push_back(message.message);
    }
    EXPECT_EQ(kept, (std::vector<UINT>{0xFF, 0x10A, 0x1FF, 0x20F}));
}

}  // namespace
}  // namespace mirlka::test
