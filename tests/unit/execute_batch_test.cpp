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

std::string Ascii(const HostText& text) {
    return text.form == TextForm::Narrow ? text.narrow
                                         : std::string(text.wide.begin(), text.wide.end());
}

// Plays the DDE layer, the host and the user's messages, logging every call. A call the DDE layer
// would not accept at that moment (outside an open instance, a text of the other form, a Close
// with handles left) also goes to `faults`, which must stay empty.
class Fake final : public HostTransport, public HostNotifier {
  public:
    explicit Fake(const Scenario& s) : s_(s) {
        for (const auto& [row, value] : s.entries) {
            table_.SetEntry(row, value);
        }
    }

    Log Run() {
        ExecuteBatch(*this, table_, *this);
        EXPECT_EQ(faults_, Log{}) << s_.name;
        EXPECT_FALSE(open_) << s_.name;
        return log_;
    }

    bool Open(TextForm form) override {
        Record(form == TextForm::Narrow ? "Open narrow" : "Open wide", !open_);
        open_ = !s_.open_fails.contains(form);
        form_ = form;
        return open_;
    }
    Handle MakeName(const HostText& text) override {
        Record("Name " + Ascii(text), open_ && text.form == form_);
        if (s_.unmakeable.contains(Ascii(text))) {
            return 0;
        }
        names_[++last_name_] = Ascii(text);
        return last_name_;
    }
    Handle Connect(Handle service, Handle topic) override {
        Record("Connect " + NameOf(service) + " " + NameOf(topic), open_);
        connected_ = !s_.connect_fails.contains(form_);
        return connected_ ? kConversation : 0;
    }
    std::optional<std::string> Request(Handle conversation, Handle item) override {
        Record("Request " + NameOf(item), Connected(conversation));
        return s_.reply;
    }
    void FreeName(Handle name) override {
        const std::string entry = "Free " + NameOf(name);
        Record(entry, names_.erase(name) == 1);
    }
    ExecuteResult ExecuteAsync(Handle conversation, const HostText& text) override {
        Record("Execute " + Ascii(text), Connected(conversation) && text.form == form_);
        if (executes_ == 0 && s_.set_during_first) {
            table_.SetEntry(s_.set_during_first->first, s_.set_during_first->second);
        }
        const auto result = s_.results.find(executes_++);
        return result == s_.results.end() ? ExecuteResult::Sent : result->second;
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
    void HostBusy() override { log_.push_back("Message 146"); }
    void NoConversation() override { log_.push_back("Message 147"); }

  private:
    void Record(const std::string& entry, bool accepted) {
        if (!accepted) {
            faults_.push_back(entry);
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

    const Scenario& s_;
    ArrayTrackTable table_;
    std::size_t executes_ = 0;
    Log log_, faults_;
    bool open_ = false, connected_ = false;
    TextForm form_ = TextForm::Narrow;
    std::map<Handle, std::string> names_;
    Handle last_name_ = 0;
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
        {TextForm::Wide, std::string("Yes\0", 4), false},
        {TextForm::Wide, std::nullopt, false},
    };
    for (const auto& c : cases) {
        Scenario s{.name = c.reply ? c.reply->c_str() : "no reply", .entries = {{0, 1}}};
        if (c.form == TextForm::Wide) {
            s.connect_fails = {TextForm::Narrow};
        }
        s.reply = c.reply;
        const Log log = Fake(s).Run();
        const Log tail(log.end() - 5, log.end());
        EXPECT_EQ(tail, Join({{c.playing ? "Message 146" : "Wait"}, kCleanUp})) << s.name;
    }
}

}  // namespace
}  // namespace mirlka
