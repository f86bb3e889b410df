#include "host/execute_batch.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace mirlka {
namespace {

using Handle = HostTransport::Handle;
using Log = std::vector<std::string>;

constexpr Handle kConversation = 77;

std::string Ascii(const HostText& text) {
    if (text.form == TextForm::Narrow) {
        return text.narrow;
    }
    std::string out;
    for (char16_t c : text.wide) {
        out.push_back(static_cast<char>(c));
    }
    return out;
}

std::string WideBytes(std::string_view ascii) {
    return std::string(MakeHostText(TextForm::Wide, ascii).Bytes());
}

// Plays the DDE layer and the host. Every call is logged by the texts involved; a call the DDE
// layer would not accept at that moment (outside an open instance, a text of the other form, a
// Close with handles left) is also listed in `faults`, which every test expects to stay empty.
class FakeTransport final : public HostTransport {
  public:
    explicit FakeTransport(Log& log) : log_(log) {}

    std::set<TextForm> open_fails;
    std::set<TextForm> connect_fails;
    std::set<std::string> unmakeable;              // names that give no handle
    std::optional<std::string> reply;              // what "Playing" brings back
    std::map<std::size_t, ExecuteResult> results;  // by execute index; Sent otherwise
    std::function<void(std::size_t)> on_execute;
    std::vector<HostText> executes;
    std::vector<std::string> faults;

    bool Open(TextForm form) override {
        Record(form == TextForm::Narrow ? "Open narrow" : "Open wide", !open_);
        if (open_fails.contains(form)) {
            return false;
        }
        open_ = true;
        form_ = form;
        return true;
    }
    Handle MakeName(const HostText& text) override {
        Record("Name " + Ascii(text), open_ && text.form == form_);
        if (unmakeable.contains(Ascii(text))) {
            return 0;
        }
        names_[++last_name_] = Ascii(text);
        return last_name_;
    }
    Handle Connect(Handle service, Handle topic) override {
        Record("Connect " + NameOf(service) + " " + NameOf(topic), open_);
        connected_ = !connect_fails.contains(form_);
        return connected_ ? kConversation : 0;
    }
    std::optional<std::string> Request(Handle conversation, Handle item) override {
        Record("Request " + NameOf(item), Connected(conversation));
        return reply;
    }
    void FreeName(Handle name) override {
        const std::string entry = "Free " + NameOf(name);
        Record(entry, names_.erase(name) == 1);
    }
    ExecuteResult ExecuteAsync(Handle conversation, const HostText& text) override {
        Record("Execute " + Ascii(text), Connected(conversation) && text.form == form_);
        executes.push_back(text);
        if (on_execute) {
            on_execute(executes.size() - 1);
        }
        const auto result = results.find(executes.size() - 1);
        return result == results.end() ? ExecuteResult::Sent : result->second;
    }
    void DiscardPendingInput() override { Record("Discard", connected_); }
    void WaitForPendingExecutes() override { Record("Wait", connected_); }
    void Disconnect(Handle conversation) override {
        Record("Disconnect", Connected(conversation));
        connected_ = false;
    }
    void Close() override {
        Record("Close", open_ && !connected_ && names_.empty());
        open_ = false;
    }

    bool open() const { return open_; }

  private:
    void Record(const std::string& entry, bool accepted) {
        if (!accepted) {
            faults.push_back(entry);
        }
        log_.push_back(entry);
    }
    bool Connected(Handle conversation) const {
        return connected_ && conversation == kConversation;
    }
    std::string NameOf(Handle name) const {
        const auto found = names_.find(name);
        return found == names_.end() ? "?" : found->second;
    }

    Log& log_;
    bool open_ = false;
    bool connected_ = false;
    TextForm form_ = TextForm::Narrow;
    std::map<Handle, std::string> names_;
    Handle last_name_ = 0;
};

class LogNotifier final : public HostNotifier {
  public:
    explicit LogNotifier(Log& log) : log_(log) {}
    void HostBusy() override { log_.push_back("Message 146"); }
    void NoConversation() override { log_.push_back("Message 147"); }

  private:
    Log& log_;
};

std::string Track(int t, std::int32_t v) {
    return "Execute " + BuildTrackExpression(t, v, TextForm::Narrow).narrow;
}
const std::string kClosing = "Execute (do (= From Now) (= Thru Now) )";
const Log kNarrowConnect = {"Open narrow", "Name wincake", "Name System", "Connect wincake System"};
const Log kWideConnect = {"Open wide", "Name wincake", "Name System", "Connect wincake System"};
const Log kRelease = {"Free wincake", "Free System", "Close"};
const Log kCheck = {"Name Playing", "Request Playing", "Free Playing"};
const Log kCleanUp = {"Disconnect", "Free wincake", "Free System", "Close"};

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

class ExecuteBatchTest : public testing::Test {
  protected:
    Log Run() {
        ExecuteBatch(transport, table, notifier);
        return log;
    }
    void TearDown() override {
        EXPECT_EQ(transport.faults, Log{});
        EXPECT_FALSE(transport.open());
    }

    Log log;
    FakeTransport transport{log};
    LogNotifier notifier{log};
    ArrayTrackTable table;
};

TEST_F(ExecuteBatchTest, SendsAssignedRowsInOrderThenTheClosingExpression) {
    table.SetEntry(0, 3);
    table.SetEntry(5, 16);
    EXPECT_EQ(Run(), Join({kNarrowConnect,
                           kCheck,
                           {Track(0, 3), "Discard", Track(5, 16), "Discard", kClosing, "Wait"},
                           kCleanUp}));
}

TEST_F(ExecuteBatchTest, EmptyTableSendsOnlyTheClosingExpression) {
    EXPECT_EQ(Run(), Join({kNarrowConnect, kCheck, {kClosing, "Wait"}, kCleanUp}));
}

TEST_F(ExecuteBatchTest, EveryRowAssigned) {
    Log sends;
    for (int t = 0; t < kTrackCount; ++t) {
        table.SetEntry(t, t % 16 + 1);
        sends.insert(sends.end(), {Track(t, t % 16 + 1), "Discard"});
    }
    EXPECT_EQ(Run(), Join({kNarrowConnect, kCheck, sends, {kClosing, "Wait"}, kCleanUp}));
}

TEST_F(ExecuteBatchTest, ReadsEachRowWhenItIsSent) {
    table.SetEntry(0, 1);
    transport.on_execute = [&](std::size_t index) {
        if (index == 0) {
            table.SetEntry(9, 4);
        }
    };
    EXPECT_EQ(Run(), Join({kNarrowConnect,
                           kCheck,
                           {Track(0, 1), "Discard", Track(9, 4), "Discard", kClosing, "Wait"},
                           kCleanUp}));
}

TEST_F(ExecuteBatchTest, WideAttemptWhenTheNarrowConversationIsRefused) {
    transport.connect_fails = {TextForm::Narrow};
    table.SetEntry(2, 10);
    EXPECT_EQ(Run(), Join({kNarrowConnect,
                           kRelease,
                           kWideConnect,
                           kCheck,
                           {Track(2, 10), "Discard", kClosing, "Wait"},
                           kCleanUp}));
    ASSERT_EQ(transport.executes.size(), 2u);
    EXPECT_EQ(transport.executes[0].form, TextForm::Wide);
    EXPECT_EQ(transport.executes[0].Size(), 278u);
    EXPECT_EQ(transport.executes[1].form, TextForm::Wide);
    EXPECT_EQ(transport.executes[1].Size(), 64u);
}

TEST_F(ExecuteBatchTest, HostNotRunningReportsOnce) {
    transport.connect_fails = {TextForm::Narrow, TextForm::Wide};
    EXPECT_EQ(Run(), Join({kNarrowConnect, kRelease, kWideConnect, kRelease, {"Message 147"}}));
}

TEST_F(ExecuteBatchTest, NarrowOpenFailureTriesNothingElse) {
    transport.open_fails = {TextForm::Narrow};
    EXPECT_EQ(Run(), (Log{"Open narrow", "Message 147"}));
}

TEST_F(ExecuteBatchTest, WideOpenFailureAfterNarrowRefusal) {
    transport.connect_fails = {TextForm::Narrow};
    transport.open_fails = {TextForm::Wide};
    EXPECT_EQ(Run(), Join({kNarrowConnect, kRelease, {"Open wide", "Message 147"}}));
}

// A name that can't be made never reaches Connect; the attempt counts as refused.
TEST_F(ExecuteBatchTest, UnmakeableTopicCountsAsNoConversation) {
    transport.unmakeable = {"System"};
    const Log attempt = {"Name wincake", "Name System", "Free wincake", "Close"};
    EXPECT_EQ(Run(), Join({{"Open narrow"}, attempt, {"Open wide"}, attempt, {"Message 147"}}));
}

TEST_F(ExecuteBatchTest, UnmakeableItemNameCountsAsNotPlaying) {
    transport.unmakeable = {"Playing"};
    transport.reply = "Yes";
    EXPECT_EQ(Run(), Join({kNarrowConnect, {"Name Playing", kClosing, "Wait"}, kCleanUp}));
}

TEST_F(ExecuteBatchTest, BusyHostIsWarnedWhileConnectedAndGetsNothing) {
    transport.reply = "Yes";
    table.SetEntry(0, 1);
    EXPECT_EQ(Run(), Join({kNarrowConnect, kCheck, {"Message 146"}, kCleanUp}));
}

struct PlayingCase {
    const char* name;
    TextForm form;
    std::optional<std::string> reply;
    bool playing;
};

void PrintTo(const PlayingCase& c, std::ostream* os) {
    *os << c.name;
}

class PlayingCheckTest : public ExecuteBatchTest,
                         public testing::WithParamInterface<PlayingCase> {};

TEST_P(PlayingCheckTest, OnlyALeadingYesStopsTheBatch) {
    const PlayingCase& c = GetParam();
    if (c.form == TextForm::Wide) {
        transport.connect_fails = {TextForm::Narrow};
    }
    transport.reply = c.reply;
    table.SetEntry(0, 1);
    Run();
    EXPECT_EQ(transport.executes.size(), c.playing ? 0u : 2u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Message 146"), c.playing ? 1 : 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Message 147"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PlayingCheckTest,
    testing::Values(PlayingCase{"Yes", TextForm::Narrow, std::string("Yes\0", 4), true},
                    PlayingCase{"YesMore", TextForm::Narrow, "Yes, recording", true},
                    PlayingCase{"Lowercase", TextForm::Narrow, "yes", false},
                    PlayingCase{"Short", TextForm::Narrow, std::string("Ye\0", 3), false},
                    PlayingCase{"Empty", TextForm::Narrow, "", false},
                    PlayingCase{"NoReply", TextForm::Narrow, std::nullopt, false},
                    PlayingCase{"WideYes", TextForm::Wide, WideBytes("Yes") + '\0' + '\0', true},
                    PlayingCase{"WideYesMore", TextForm::Wide, WideBytes("Yes!"), true},
                    PlayingCase{"WideShort", TextForm::Wide, WideBytes("Ye"), false},
                    PlayingCase{"WideLowercase", TextForm::Wide, WideBytes("yes"), false},
                    PlayingCase{"WideNarrowBytes", TextForm::Wide, std::string("Yes\0", 4), false}),
    [](const testing::TestParamInfo<PlayingCase>& info) { return info.param.name; });

// A data handle that can't be made and a transaction the DDE layer refuses both mean the
// expression never reached the host: the batch stops there and the user is told.
struct SendFailureCase {
    const char* name;
    std::size_t failing_execute;
    ExecuteResult result;
    Log sends;
};

void PrintTo(const SendFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class SendFailureTest : public ExecuteBatchTest,
                        public testing::WithParamInterface<SendFailureCase> {};

TEST_P(SendFailureTest, StopsCleansUpAndReports) {
    const SendFailureCase& c = GetParam();
    table.SetEntry(0, 3);
    table.SetEntry(5, 16);
    table.SetEntry(9, 1);
    transport.results[c.failing_execute] = c.result;
    EXPECT_EQ(Run(), Join({kNarrowConnect, kCheck, c.sends, kCleanUp, {"Message 147"}}));
}

const Log kTwoSent = {Track(0, 3), "Discard", Track(5, 16), "Discard"};

INSTANTIATE_TEST_SUITE_P(
    Failures, SendFailureTest,
    testing::Values(SendFailureCase{"ThirdWithoutDataHandle", 2, ExecuteResult::NoDataHandle,
                                    Join({kTwoSent, {Track(9, 1), "Wait"}})},
                    SendFailureCase{"ThirdRefused", 2, ExecuteResult::Refused,
                                    Join({kTwoSent, {Track(9, 1), "Wait"}})},
                    SendFailureCase{"FirstRefused", 0, ExecuteResult::Refused, {Track(0, 3)}},
                    SendFailureCase{"ClosingWithoutDataHandle", 3, ExecuteResult::NoDataHandle,
                                    Join({kTwoSent, {Track(9, 1), "Discard", kClosing, "Wait"}})}),
    [](const testing::TestParamInfo<SendFailureCase>& info) { return info.param.name; });

}  // namespace
}  // namespace mirlka
