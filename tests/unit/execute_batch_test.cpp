#include "host/execute_batch.h"

#include <algorithm>
#include <map>
#include <optional>
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

// What goes wrong where; everything else works.
struct Scenario {
    const char* name = "";
    std::vector<std::pair<int, std::int32_t>> entries = {};  // (row, value) of the table
    std::set<TextForm> open_fails = {}, connect_fails = {};
    std::set<std::string> unmakeable = {};              // names that give no handle
    std::optional<std::string> reply = {};              // what "Playing" brings back
    std::map<std::size_t, ExecuteResult> results = {};  // by execute index; Sent otherwise
    std::optional<std::pair<int, std::int32_t>> set_during_first = {};  // the user edits a row
    Log expected = {};
};

// Plays the DDE layer, the host and the user's messages, logging every call. What the DDE layer
// would not accept shows in the log: a handle it never gave ("?") or a text of the other form.
class Fake final : public HostTransport, public HostNotifier {
  public:
    explicit Fake(const Scenario& s) : s_(s) {
        for (const auto& [row, value] : s.entries) {
            table_.SetEntry(row, value);
        }
    }

    Log Run() {
        ExecuteBatch(*this, table_, *this);
        return log_;
    }

    bool Open(TextForm form) override {
        log_.push_back(form == TextForm::Narrow ? "Open narrow" : "Open wide");
        form_ = form;
        return !s_.open_fails.contains(form);
    }
    Handle MakeName(const HostText& text) override {
        log_.push_back("Name " + Text(text));
        if (s_.unmakeable.contains(Text(text))) {
            return 0;
        }
        names_[++last_name_] = Text(text);
        return last_name_;
    }
    Handle Connect(Handle service, Handle topic) override {
        log_.push_back("Connect " + NameOf(service) + " " + NameOf(topic));
        return s_.connect_fails.contains(form_) ? 0 : kConversation;
    }
    std::optional<std::string> Request(Handle conversation, Handle item) override {
        log_.push_back("Request " + NameOf(item) + On(conversation));
        return s_.reply;
    }
    void FreeName(Handle name) override {
        log_.push_back("Free " + NameOf(name));
        names_.erase(name);
    }
    ExecuteResult ExecuteAsync(Handle conversation, const HostText& text) override {
        log_.push_back("Execute " + Text(text) + On(conversation));
        if (executes_ == 0 && s_.set_during_first) {
            table_.SetEntry(s_.set_during_first->first, s_.set_during_first->second);
        }
        const auto result = s_.results.find(executes_++);
        return result == s_.results.end() ? ExecuteResult::Sent : result->second;
    }
    void DiscardPendingInput() override { log_.push_back("Discard"); }
    void WaitForPendingExecutes() override { log_.push_back("Wait"); }
    void Disconnect(Handle conversation) override {
        log_.push_back("Disconnect" + On(conversation));
    }
    void Close() override { log_.push_back("Close"); }
    void HostBusy() override { log_.push_back("Message 146"); }
    void NoConversation() override { log_.push_back("Message 147"); }

  private:
    // A track's expression is logged by its TrackChannel part; its bytes are pinned elsewhere.
    std::string Text(const HostText& text) const {
        std::string ascii = text.form == TextForm::Narrow
                                ? text.narrow
                                : std::string(text.wide.begin(), text.wide.end());
        if (const auto at = ascii.find("(TrackChannel "); at != std::string::npos) {
            ascii = ascii.substr(at, ascii.find(')', at) - at + 1);
        }
        return text.form == form_ ? ascii : ascii + " (other form)";
    }
    static std::string On(Handle conversation) {
        return conversation == kConversation ? "" : " on ?";
    }
    std::string NameOf(Handle name) const {
        const auto found = names_.find(name);
        return found == names_.end() ? "?" : found->second;
    }

    const Scenario& s_;
    ArrayTrackTable table_;
    std::size_t executes_ = 0;
    Log log_;
    TextForm form_ = TextForm::Narrow;
    std::map<Handle, std::string> names_;
    Handle last_name_ = 0;
};

std::string Track(int t, std::int32_t v) {
    return "Execute (TrackChannel " + std::to_string(v - 1) + " " + std::to_string(t) + ")";
}
const std::string kClosing = "Execute (do (= From Now) (= Thru Now) )";
const Log kNarrowConnect = {"Open narrow", "Name wincake", "Name System", "Connect wincake System"};
const Log kWideConnect = {"Open wide", "Name wincake", "Name System", "Connect wincake System"};
const Log kRelease = {"Free wincake", "Free System", "Close"};
const Log kCheck = {"Name Playing", "Request Playing", "Free Playing"};
const Log kCleanUp = {"Disconnect", "Free wincake", "Free System", "Close"};
const Log kTwoSent = {Track(0, 3), "Discard", Track(5, 16), "Discard"};

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(ExecuteBatchTest, Scenarios) {
    const auto three = std::vector<std::pair<int, std::int32_t>>{{0, 3}, {5, 16}, {9, 1}};
    const Log attempt = {"Name wincake", "Name System", "Free wincake", "Close"};
    const Scenario scenarios[] = {
        {.name = "empty table: only the closing expression",
         .expected = Join({kNarrowConnect, kCheck, {kClosing, "Wait"}, kCleanUp})},
        {.name = "row 9 set while row 0 is sent: rows are read as they are sent",
         .entries = {{0, 3}},
         .set_during_first = std::pair{9, 4},
         .expected = Join({kNarrowConnect,
                           kCheck,
                           {Track(0, 3), "Discard", Track(9, 4), "Discard", kClosing, "Wait"},
                           kCleanUp})},
        {.name = "host not running: told once",
         .connect_fails = {TextForm::Narrow, TextForm::Wide},
         .expected = Join({kNarrowConnect, kRelease, kWideConnect, kRelease, {"Message 147"}})},
        {.name = "narrow open fails: nothing else tried",
         .open_fails = {TextForm::Narrow},
         .expected = {"Open narrow", "Message 147"}},
        {.name = "wide open fails after narrow refused",
         .open_fails = {TextForm::Wide},
         .connect_fails = {TextForm::Narrow},
         .expected = Join({kNarrowConnect, kRelease, {"Open wide", "Message 147"}})},
        // A name that can't be made never reaches Connect; the attempt counts as refused.
        {.name = "topic name unmakeable",
         .unmakeable = {"System"},
         .expected = Join({{"Open narrow"}, attempt, {"Open wide"}, attempt, {"Message 147"}})},
        {.name = "item name unmakeable: not playing",
         .unmakeable = {"Playing"},
         .reply = "Yes",
         .expected = Join({kNarrowConnect, {"Name Playing", kClosing, "Wait"}, kCleanUp})},
        // An expression that never reached the host stops the batch, and the user is told; only
        // what was sent is waited for.
        {.name = "third without data handle",
         .entries = three,
         .results = {{2, ExecuteResult::NoDataHandle}},
         .expected = Join(
             {kNarrowConnect, kCheck, kTwoSent, {Track(9, 1), "Wait"}, kCleanUp, {"Message 147"}})},
        {.name = "first refused",
         .entries = three,
         .results = {{0, ExecuteResult::Refused}},
         .expected = Join({kNarrowConnect, kCheck, {Track(0, 3)}, kCleanUp, {"Message 147"}})},
        {.name = "closing refused",
         .entries = three,
         .results = {{3, ExecuteResult::Refused}},
         .expected = Join({kNarrowConnect,
                           kCheck,
                           kTwoSent,
                           {Track(9, 1), "Discard", kClosing, "Wait"},
                           kCleanUp,
                           {"Message 147"}})},
    };
    for (const Scenario& s : scenarios) {
        EXPECT_EQ(Fake(s).Run(), s.expected) << s.name;
    }
}

std::string WideBytes(std::string_view ascii) {
    return std::string(MakeHostText(TextForm::Wide, ascii).Bytes());
}

// Narrow answers are also pinned against the host simulator; the wide ones only here.
TEST(ExecuteBatchTest, OnlyALeadingYesOfTheConversationsFormStopsTheBatch) {
    const struct {
        TextForm form;
        std::optional<std::string> reply;
        bool playing;
    } cases[] = {
        {TextForm::Narrow, std::string("Yes\0", 4), true},
        {TextForm::Narrow, std::string("Ye\0", 3), false},
        {TextForm::Wide, WideBytes("Yes") + '\0' + '\0', true},
        {TextForm::Wide, WideBytes("Yes!"), true},
        {TextForm::Wide, WideBytes("Ye"), false},
        {TextForm::Wide, WideBytes("yes"), false},
        {TextForm::Wide, WideBytes("No Yes"), false},
        {TextForm::Wide, std::string("Yes\0", 4), false},
        {TextForm::Wide, std::nullopt, false},
    };
    for (const auto& c : cases) {
        Scenario s{.name = c.reply ? c.reply->c_str() : "no reply", .entries = {{0, 1}}};
        if (c.form == TextForm::Wide) {
            s.connect_fails = {TextForm::Narrow};
        }
        s.reply = c.reply;
        const Log connect = c.form == TextForm::Narrow
                                ? kNarrowConnect
                                : Join({kNarrowConnect, kRelease, kWideConnect});
        const Log outcome =
            c.playing ? Log{"Message 146"} : Log{Track(0, 1), "Discard", kClosing, "Wait"};
        EXPECT_EQ(Fake(s).Run(), Join({connect, kCheck, outcome, kCleanUp})) << s.name;
    }
}

}  // namespace
}  // namespace mirlka
