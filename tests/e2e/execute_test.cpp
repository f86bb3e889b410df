// Execute over real DDE against the host simulator, with what the user is told read off the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/track_table.h"
#include "driver/win/host_sim.h"
#include "host/win/execute_command.h"
#include "win/box_watcher.h"
#include "win/test_support.h"

namespace mirlka::test {
using namespace mirlka::driver;
namespace {

std::string TrackText(int t, int c) {
    const std::string track = std::to_string(t), chan = std::to_string(c);
    return "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel " + chan + " " + track +
           ") (TrackSelect 1 " + track + ") (forEachEvent (= Event.Chan " + chan +
           ") ) (TrackSelect 0 " + track + ") )";
}
const std::string kClosingText = "(do (= From Now) (= Thru Now) )";

// The bytes of a text as the host receives it, terminator included.
std::string Bytes(const std::string& text, bool wide) {
    std::string bytes;
    for (char c : text + '\0') {
        bytes += wide ? std::string{c, '\0'} : std::string{c};
    }
    return bytes;
}
// The simulator's log line of an execute it accepted.
std::string Executed(const std::string& text, bool wide = false) {
    const std::string bytes = Bytes(text, wide);
    return std::string("execute codepage=") + (wide ? "1200" : "1004") +
           " size=" + std::to_string(bytes.size()) + " bytes=" + Hex(bytes) + " result=ok";
}

class Execute : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(module_, nullptr);
        // The owner's module is where the messages' texts come from, as with the main window.
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                                 nullptr, nullptr, module_.get(), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Runs Execute as the main window does on a table of (row, value) entries and returns the
    // boxes it showed, all answered.
    std::vector<SeenBox> Run(const std::vector<std::pair<int, int>>& entries,
                             DWORD* elapsedMs = nullptr) {
        ArrayTrackTable table;
        for (const auto& [row, value] : entries) {
            table.SetEntry(row, value);
        }
        // Every box this thread shows is read and answered with OK from a thread of its own.
        std::vector<SeenBox> boxes;
        std::atomic<bool> done{false};
        std::thread answer([&, thread = GetCurrentThreadId()] {
            while (!done) {
                HWND box = FindMessageBox(BoxSource::Thread(thread));
                if (!box) {
                    Sleep(10);
                    continue;
                }
                boxes.push_back(ReadMessageBox(box));
                HWND ok = GetDlgItem(box, IDOK);
                boxes.back().pressed = ok != nullptr;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(ok));
                WaitFor([box] { return !IsWindow(box); }, 5000);
            }
        });
        const DWORD start = GetTickCount();
        RunExecute(owner_, table);
        if (elapsedMs) {
            *elapsedMs = GetTickCount() - start;
        }
        done = true;
        answer.join();
        return boxes;
    }

    static void ExpectOneBox(const std::vector<SeenBox>& boxes, const std::string& title,
                             const std::string& text) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, title);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_TRUE(boxes[0].pressed) << "an OK button";
    }

    static inline Module module_ = LoadAsData();
    HWND owner_ = nullptr;
};

TEST_F(Execute, WorkedExampleReachesTheHostByteForByte) {
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "wide after a refused narrow" : "narrow");
        HostSim host(wide ? "--refuse-narrow" : "");
        ASSERT_TRUE(host.WaitReady());
        EXPECT_TRUE(Run({{2, 10}}).empty());

        std::vector<std::string> expected;
        if (wide) {
            expected.push_back("connect codepage=1004 accepted=0");
        }
        expected.insert(
            expected.end(),
            {std::string("connect codepage=") + (wide ? "1200" : "1004") + " accepted=1",
             "request item=Playing format=1 reply=" + Hex(Bytes("No", wide)),
             Executed(TrackText(2, 9), wide), Executed(kClosingText, wide), "disconnect"});
        EXPECT_EQ(host.LogAfterDisconnect(), expected);
    }
}

TEST_F(Execute, EveryAssignedRowArrivesCompleteAndInOrder) {
    HostSim host("--tracks 256");
    ASSERT_TRUE(host.WaitReady());
    std::vector<std::pair<int, int>> entries;
    std::vector<std::string> expected;
    for (int t = 0; t < kTrackCount; ++t) {
        entries.emplace_back(t, t % 16 + 1);
        expected.push_back(Executed(TrackText(t, t % 16)));
    }
    expected.push_back(Executed(kClosingText));
    EXPECT_TRUE(Run(entries).empty());

    EXPECT_EQ(host.LogAfterDisconnect().back(), "disconnect");
    EXPECT_EQ(host.Executes(), expected);
}

// A host that answers Playing later than the 10 s the request waits counts as not playing.
TEST_F(Execute, PlayingAnswerDecidesWhetherAnythingIsSent) {
    const struct {
        const char* options;
        bool busy;
    } cases[] = {
        {"--playing \"Yes, recording\"", true},
        {"--playing yes", false},
        {"--playing-none", false},
        {"--playing Yes --playing-delay 12000", false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.options);
        HostSim host(test.options);
        ASSERT_TRUE(host.WaitReady());
        DWORD elapsed = 0;
        const std::vector<SeenBox> boxes = Run({{0, 1}, {5, 16}}, &elapsed);
        host.LogAfterDisconnect(20000);
        if (test.busy) {
            ExpectOneBox(boxes, ToAnsi("警告"),
                         ToAnsi("Cakewalkは、再生または録音を行っています。\n停止してから"
                                "実行してください。"));
            EXPECT_TRUE(host.Executes().empty());
        } else {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(host.Executes(), (std::vector<std::string>{Executed(TrackText(0, 0)),
                                                                 Executed(TrackText(5, 15)),
                                                                 Executed(kClosingText)}));
        }
        if (std::string(test.options).ends_with("12000")) {
            EXPECT_GE(elapsed, 9900u) << "the run gave up on the answer before its time-out";
        }
    }
}

// The host ends its process while it works through the batch: the run must end, and the user
// must hear that not every track was set.
TEST_F(Execute, HostDyingMidBatchIsReported) {
    const struct { int rows, quitAfter; } cases[] = {{10, 3}, {2, 2}, {40, 1}};
    for (const auto& test : cases) {
        SCOPED_TRACE(std::to_string(test.rows) + " rows, quits at execute " +
                     std::to_string(test.quitAfter));
        HostSim host("--tracks 64 --quit-after " + std::to_string(test.quitAfter));
        ASSERT_TRUE(host.WaitReady());
        std::vector<std::pair<int, int>> entries;
        for (int t = 0; t < test.rows; ++t) {
            entries.emplace_back(t, 7);
        }
        DWORD elapsed = 0;
        const std::vector<SeenBox> boxes = Run(entries, &elapsed);
        // At most the quiet limit of the wait plus the disconnect's own 10 s.
        EXPECT_LT(elapsed, 25000u);
        EXPECT_EQ(WaitForSingleObject(host.process(), 5000), WAIT_OBJECT_0);
        ExpectOneBox(boxes, ToAnsi("エラー"), ToAnsi("Cakewalkとの対話を、確立できませんでした。"));
        EXPECT_EQ(host.Executes().size(), static_cast<std::size_t>(test.quitAfter));
    }
}

}  // namespace
}  // namespace mirlka::test
