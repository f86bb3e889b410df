// Execute over real DDE against the host simulator, with what the user is told read off the screen.
#include <windows.h>

#include <ddeml.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/track_table.h"
#include "e2e/host_sim.h"
#include "host/win/execute_command.h"
#include "win/box_watcher.h"

namespace mirlka::test {
namespace {

// Expected texts are written here in UTF-8 and compared as the program shows them: code page 932.
std::string ToAnsi(const char* utf8) {
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    ansi.resize(static_cast<std::size_t>(length - 1));
    return ansi;
}

const std::string kBusyText =
    ToAnsi("Cakewalkは、再生または録音を行っています。\n停止してから実行してください。");
const std::string kNoConversationText = ToAnsi("Cakewalkとの対話を、確立できませんでした。");
const std::string kWarningTitle = ToAnsi("警告");
const std::string kErrorTitle = ToAnsi("エラー");

// The bytes of a text as the host receives it, terminator included.
std::string Narrow(const std::string& text) {
    return Hex(std::string(text) + '\0');
}
std::string Wide(const std::string& text) {
    std::string bytes;
    for (char c : text + '\0') {
        bytes += c;
        bytes += '\0';
    }
    return Hex(bytes);
}

std::string TrackText(int t, int c) {
    const std::string track = std::to_string(t);
    const std::string chan = std::to_string(c);
    return "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel " + chan + " " + track +
           ") (TrackSelect 1 " + track + ") (forEachEvent (= Event.Chan " + chan +
           ") ) (TrackSelect 0 " + track + ") )";
}
const std::string kClosingText = "(do (= From Now) (= Thru Now) )";
// Row "3" set to channel 10.
const std::string kWorkedExampleText =
    "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 9 2) (TrackSelect 1 2) "
    "(forEachEvent (= Event.Chan 9) ) (TrackSelect 0 2) )";

// Answers every message box of one thread with OK and keeps what each showed.
class BoxCollector {
  public:
    explicit BoxCollector(DWORD threadId) : thread_([this, threadId] { Run(threadId); }) {}
    ~BoxCollector() { Stop(); }
    BoxCollector(const BoxCollector&) = delete;
    BoxCollector& operator=(const BoxCollector&) = delete;

    std::vector<SeenBox> Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return boxes_;
    }

  private:
    void Run(DWORD threadId) {
        while (!stop_) {
            HWND box = FindMessageBox(BoxSource::Thread(threadId));
            if (box == nullptr) {
                Sleep(10);
                continue;
            }
            SeenBox seen = ReadMessageBox(box);
            HWND ok = GetDlgItem(box, IDOK);
            seen.pressed = ok != nullptr;
            boxes_.push_back(seen);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(ok));
            WaitFor([box] { return !IsWindow(box); }, 5000);
        }
    }

    std::atomic<bool> stop_{false};
    std::vector<SeenBox> boxes_;
    std::thread thread_;  // last: it starts once the members that it fills exist
};

HDDEDATA CALLBACK IgnoreAll(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// Whether some program on this desktop already answers as the host; the tests need it silent.
bool HostServiceAnswers() {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, IgnoreAll, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS, 0) !=
        DMLERR_NO_ERROR) {
        return false;
    }
    HSZ service = DdeCreateStringHandleA(instance, "wincake", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    if (conversation) {
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return conversation != nullptr;
}

class Execute : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA((ProgramFolder() + "mirlka.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (module_) {
            FreeLibrary(module_);
            module_ = nullptr;
        }
    }
    void SetUp() override {
        ASSERT_NE(module_, nullptr);
        ASSERT_FALSE(HostServiceAnswers()) << "a host left running by someone else";
        // The owner's module is where the messages' texts come from, as with the main window.
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                                 nullptr, nullptr, module_, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Runs Execute as the main window does and returns the boxes it showed, all answered.
    std::vector<SeenBox> Run(const TrackTable& table, DWORD* elapsedMs = nullptr) {
        BoxCollector boxes(GetCurrentThreadId());
        const DWORD start = GetTickCount();
        RunExecute(owner_, table);
        if (elapsedMs) {
            *elapsedMs = GetTickCount() - start;
        }
        return boxes.Stop();
    }

    static void ExpectOneBox(const std::vector<SeenBox>& boxes, const std::string& title,
                             const std::string& text) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, title);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_TRUE(boxes[0].pressed) << "an OK button";
    }

    static HMODULE module_;
    HWND owner_ = nullptr;
};

HMODULE Execute::module_ = nullptr;

TEST_F(Execute, WorkedExampleReachesTheHostByteForByte) {
    const struct {
        const char* name;
        const char* options;
        std::vector<std::string> connects;
        int codepage;
        std::string track;
        std::string closing;
        std::size_t trackSize;
        std::size_t closingSize;
    } cases[] = {
        {"narrow",
         "",
         {"connect codepage=1004 accepted=1"},
         1004,
         Narrow(kWorkedExampleText),
         Narrow(kClosingText),
         139,
         32},
        {"wide after a refused narrow",
         "--refuse-narrow",
         {"connect codepage=1004 accepted=0", "connect codepage=1200 accepted=1"},
         1200,
         Wide(kWorkedExampleText),
         Wide(kClosingText),
         278,
         64},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        HostSim host(test.options);
        ASSERT_TRUE(host.WaitReady());
        const std::vector<SongTrack> before = host.Song();
        ASSERT_EQ(before.size(), 16u);
        ASSERT_NE(before[2].onChannel, before[2].events) << "the demo track mixes channels";

        ArrayTrackTable table;
        table.SetEntry(2, 10);
        EXPECT_TRUE(Run(table).empty());

        const std::vector<HostEvent> events = host.EventsAfterDisconnect();
        std::vector<std::string> kinds;
        for (const HostEvent& event : events) {
            kinds.push_back(event.kind);
        }
        std::vector<std::string> expectedKinds(test.connects.size(), "connect");
        expectedKinds.insert(expectedKinds.end(), {"request", "execute", "execute", "disconnect"});
        ASSERT_EQ(kinds, expectedKinds);
        for (std::size_t i = 0; i < test.connects.size(); ++i) {
            EXPECT_EQ(events[i].line, test.connects[i]);
        }
        const HostEvent& request = events[test.connects.size()];
        EXPECT_EQ(request.item, "Playing");
        EXPECT_EQ(request.format, 1);
        const HostEvent& track = events[test.connects.size() + 1];
        const HostEvent& closing = events[test.connects.size() + 2];
        EXPECT_EQ(track.codepage, test.codepage);
        EXPECT_EQ(track.size, test.trackSize);
        EXPECT_EQ(track.bytes, test.track);
        EXPECT_TRUE(track.ok);
        EXPECT_EQ(closing.codepage, test.codepage);
        EXPECT_EQ(closing.size, test.closingSize);
        EXPECT_EQ(closing.bytes, test.closing);
        EXPECT_TRUE(closing.ok);

        std::vector<SongTrack> after = before;
        after[2].channel = 9;
        after[2].onChannel = after[2].events;
        const std::vector<SongTrack> song = host.Song();
        ASSERT_EQ(song.size(), after.size());
        for (std::size_t i = 0; i < song.size(); ++i) {
            EXPECT_EQ(song[i].channel, after[i].channel) << "track " << i;
            EXPECT_EQ(song[i].onChannel, after[i].onChannel) << "track " << i;
        }
    }
}

TEST_F(Execute, EveryAssignedRowArrivesCompleteAndInOrder) {
    HostSim host("--tracks 256");
    ASSERT_TRUE(host.WaitReady());
    ArrayTrackTable table;
    for (int t = 0; t < kTrackCount; ++t) {
        table.SetEntry(t, t % 16 + 1);
    }
    EXPECT_TRUE(Run(table).empty());

    const std::vector<HostEvent> events = host.EventsAfterDisconnect();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().kind, "disconnect");
    const std::vector<HostEvent> executes = host.Executes();
    ASSERT_EQ(executes.size(), 257u);
    for (int t = 0; t < kTrackCount; ++t) {
        EXPECT_EQ(executes[t].bytes, Narrow(TrackText(t, t % 16))) << "row " << t;
        EXPECT_TRUE(executes[t].ok) << "row " << t;
    }
    EXPECT_EQ(executes.back().bytes, Narrow(kClosingText));

    const std::vector<SongTrack> song = host.Song();
    ASSERT_EQ(song.size(), 256u);
    for (int t = 0; t < kTrackCount; ++t) {
        EXPECT_EQ(song[t].index, t);
        EXPECT_EQ(song[t].channel, t % 16) << "track " << t;
        EXPECT_GT(song[t].events, 0) << "track " << t;
        EXPECT_EQ(song[t].onChannel, song[t].events) << "track " << t;
    }
}

TEST_F(Execute, WithoutAHostTheUserIsToldOnce) {
    ArrayTrackTable table;
    table.SetEntry(0, 1);
    ExpectOneBox(Run(table), kErrorTitle, kNoConversationText);
}

TEST_F(Execute, PlayingAnswerDecidesWhetherAnythingIsSent) {
    const struct {
        const char* options;
        bool busy;
    } cases[] = {
        {"--playing Yes", true},   {"--playing \"Yes, recording\"", true},
        {"--playing yes", false},  {"--playing Ye", false},
        {"--playing-none", false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.options);
        HostSim host(test.options);
        ASSERT_TRUE(host.WaitReady());
        ArrayTrackTable table;
        table.SetEntry(0, 1);
        table.SetEntry(5, 16);
        const std::vector<SeenBox> boxes = Run(table);

        host.EventsAfterDisconnect();
        const std::vector<HostEvent> executes = host.Executes();
        if (test.busy) {
            ExpectOneBox(boxes, kWarningTitle, kBusyText);
            EXPECT_TRUE(executes.empty());
        } else {
            EXPECT_TRUE(boxes.empty());
            ASSERT_EQ(executes.size(), 3u);
            EXPECT_EQ(executes[0].bytes, Narrow(TrackText(0, 0)));
            EXPECT_EQ(executes[1].bytes, Narrow(TrackText(5, 15)));
            EXPECT_EQ(executes[2].bytes, Narrow(kClosingText));
        }
    }
}

// The request gives up after 10 s; a host that answers later counts as not playing.
TEST_F(Execute, LateAnswerToPlayingStillSends) {
    HostSim host("--playing Yes --playing-delay 12000");
    ASSERT_TRUE(host.WaitReady());
    ArrayTrackTable table;
    table.SetEntry(3, 4);
    DWORD elapsed = 0;
    EXPECT_TRUE(Run(table, &elapsed).empty());
    EXPECT_GE(elapsed, 9900u);

    host.EventsAfterDisconnect(20000);
    const std::vector<HostEvent> executes = host.Executes();
    ASSERT_EQ(executes.size(), 2u);
    EXPECT_EQ(executes[0].bytes, Narrow(TrackText(3, 3)));
    EXPECT_EQ(executes[1].bytes, Narrow(kClosingText));
}

// The host ends its process while it works through the batch: the run must end, and the user
// must hear that not every track was set.
TEST_F(Execute, HostDyingMidBatchIsReported) {
    const struct {
        int rows;
        int quitAfter;
    } cases[] = {{10, 3}, {2, 2}, {40, 1}};
    for (const auto& test : cases) {
        SCOPED_TRACE(std::to_string(test.rows) + " rows, quits at execute " +
                     std::to_string(test.quitAfter));
        HostSim host("--tracks 64 --quit-after " + std::to_string(test.quitAfter));
        ASSERT_TRUE(host.WaitReady());
        ArrayTrackTable table;
        for (int t = 0; t < test.rows; ++t) {
            table.SetEntry(t, 7);
        }
        DWORD elapsed = 0;
        const std::vector<SeenBox> boxes = Run(table, &elapsed);
        // At most the quiet limit of the wait plus the disconnect's own 10 s.
        EXPECT_LT(elapsed, 25000u);
        EXPECT_EQ(WaitForSingleObject(host.process(), 5000), WAIT_OBJECT_0);
        ExpectOneBox(boxes, kErrorTitle, kNoConversationText);
        EXPECT_EQ(host.Executes().size(), static_cast<std::size_t>(test.quitAfter));
    }
}

}  // namespace
}  // namespace mirlka::test
