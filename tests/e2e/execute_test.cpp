// Execute over real DDE against the host simulator, with what the user is told read off the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/track_table.h"
#include "driver/win/host_sim.h"
#include "golden.h"
#include "host/cal_batch.h"
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

    // Runs Execute as the main window does on a table of (row, value) entries and returns the
    // boxes it showed, each answered with OK; `elapsedMs` gets the run's time.
    std::vector<SeenBox> Run(const std::vector<std::pair<int, int>>& entries, DWORD& elapsedMs) {
        ArrayTrackTable table;
        for (const auto& [row, value] : entries) {
            table.SetEntry(row, value);
        }
        BoxWatcher watcher(BoxSource::ThisThread(), IDOK, std::chrono::hours(1), nullptr, true);
        const DWORD start = GetTickCount();
        RunExecute(owner_, table);
        elapsedMs = GetTickCount() - start;
        return watcher.Stop();
    }

    static void ExpectOneBox(const std::vector<SeenBox>& boxes, const char* titleId,
                             const char* textId) {
        auto text = [](const char* id) { return ToAnsi(GoldenText("string-table.txt", id)); };
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, text(titleId));
        EXPECT_EQ(boxes[0].text, text(textId));
        EXPECT_TRUE(boxes[0].pressed) << "an OK button";
    }

    static inline Module module_ = LoadAsData();
    Window window_ = ProgramWindow(module_.get());
    HWND owner_ = window_.get();
    DWORD elapsed_ = 0;
};

// All 256 rows, the worked example among them, byte for byte on a narrow conversation.
TEST_F(Execute, EveryAssignedRowArrivesCompleteAndInOrder) {
    HostSim host("--tracks 256");
    ASSERT_TRUE(host.WaitReady());
    std::vector<std::pair<int, int>> entries;
    std::vector<std::string> expected = {
        "connect codepage=1004 accepted=1",
        "request item=Playing format=1 reply=" + hostsim::Hex(std::string("No\0", 3))};
    for (int t = 0; t < kTrackCount; ++t) {
        const int v = (t + 7) % 16 + 1;  // track 2 gets 10
        entries.emplace_back(t, v);
        expected.push_back(
            Executed(t == 2 ? Cal("2 10") : BuildTrackExpression(t, v, TextForm::Narrow).narrow));
    }
    expected.push_back(Executed(Cal("closing")));
    expected.push_back("disconnect");
    EXPECT_TRUE(Run(entries, elapsed_).empty());
    EXPECT_EQ(host.LogAfterDisconnect(), expected);
}

// The narrow conversation is refused, and the host answers Playing later than the 10 s that the
// request waits: the host counts as not playing, and the wide texts arrive.
TEST_F(Execute, ASlowPlayingAnswerCountsAsNotPlayingAndWideTextsArrive) {
    HostSim host("--refuse-narrow --playing Yes --playing-delay 12000");
    ASSERT_TRUE(host.WaitReady());
    EXPECT_TRUE(Run({{2, 10}}, elapsed_).empty());
    const std::vector<std::string> log = host.LogAfterDisconnect(20000);
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0], "connect codepage=1004 accepted=0");
    EXPECT_EQ(log[1], "connect codepage=1200 accepted=1");
    EXPECT_EQ(std::vector(log.begin() + 3, log.end()),
              (std::vector<std::string>{Executed(Cal("2 10"), true), Executed(Cal("closing"), true),
                                        "disconnect"}));
}

// A host working through a big song may take longer than 10 s over a text: no failure.
TEST_F(Execute, AHostSlowerThanTenSecondsPerTextIsNoFailure) {
    HostSim host("--ack-delay 10500");
    ASSERT_TRUE(host.WaitReady());
    EXPECT_TRUE(Run({{0, 3}}, elapsed_).empty());
    EXPECT_EQ(host.Executes().size(), 2u);
}

// An answer after 6 s is still in time.
TEST_F(Execute, APlayingHostGetsNothingAndTheUserIsTold) {
    HostSim host("--playing \"Yes, recording\" --playing-delay 6000");
    ASSERT_TRUE(host.WaitReady());
    ExpectOneBox(Run({{0, 1}, {5, 16}}, elapsed_), "139", "146");
    host.LogAfterDisconnect();
    EXPECT_TRUE(host.Executes().empty());
}

// The host ends its process while it works through the batch: the run must end, and the user
// must hear that not every track was set.
TEST_F(Execute, HostDyingMidBatchIsReported) {
    HostSim host("--tracks 64 --quit-after 3");
    ASSERT_TRUE(host.WaitReady());
    std::vector<std::pair<int, int>> entries;
    for (int t = 0; t < 10; ++t) {
        entries.emplace_back(t, 7);
    }
    const std::vector<SeenBox> boxes = Run(entries, elapsed_);
    // At most the quiet limit of the wait plus the disconnect's own 10 s.
    EXPECT_LT(elapsed_, 25000u);
    EXPECT_EQ(WaitForSingleObject(host.process(), 5000), WAIT_OBJECT_0);
    ExpectOneBox(boxes, "137", "147");
    EXPECT_EQ(host.Executes().size(), 3u);
}

}  // namespace
}  // namespace mirlka::test
