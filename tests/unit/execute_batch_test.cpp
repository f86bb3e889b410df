#include "host/execute_batch.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "golden.h"

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

// The expected conversations, by case name.
std::map<std::string, Log> ExpectedLogs() {
    std::map<std::string, Log> logs;
    Log* current = nullptr;
    for (const test::Fields& line : test::ReadCases("execute-batch.txt")) {
        if (line[0].starts_with("= ")) {
            current = &logs[line[0].substr(2)];
        } else if (current) {
            current->push_back(line[0]);
        }
    }
    return logs;
}

TEST(ExecuteBatchTest, Scenarios) {
    const auto three = std::vector<std::pair<int, std::int32_t>>{{0, 3}, {5, 16}, {9, 1}};
    const Scenario scenarios[] = {
        {.name = "empty table: only the closing expression"},
        {.name = "row 9 set while row 0 is sent: rows are read as they are sent",
         .entries = {{0, 3}},
         .set_during_first = std::pair{9, 4}},
        {.name = "host not running: told once",
         .connect_fails = {TextForm::Narrow, TextForm::Wide}},
        {.name = "narrow open fails: nothing else tried", .open_fails = {TextForm::Narrow}},
        {.name = "wide open fails after narrow refused",
         .open_fails = {TextForm::Wide},
         .connect_fails = {TextForm::Narrow}},
        {.name = "topic name unmakeable", .unmakeable = {"System"}},
        {.name = "item name unmakeable: not playing", .unmakeable = {"Playing"}, .reply = "Yes"},
        {.name = "third without data handle",
         .entries = three,
         .results = {{2, ExecuteResult::NoDataHandle}}},
        {.name = "first refused", .entries = three, .results = {{0, ExecuteResult::Refused}}},
        {.name = "closing refused", .entries = three, .results = {{3, ExecuteResult::Refused}}},
    };
    const std::map<std::string, Log> expected = ExpectedLogs();
    ASSERT_EQ(expected.size(), std::size(scenarios));
    for (const Scenario& s : scenarios) {
        EXPECT_EQ(Fake(s).Run(), expected.at(s.name)) << s.name;
    }
}

// Whether the host counts as playing: its form of the conversation, its reply ("none": no
// data), and whether the batch stops.
TEST(ExecuteBatchTest, OnlyALeadingYesOfTheConversationsFormStopsTheBatch) {
    const auto cases = test::ReadCases("playing-replies.txt");
    ASSERT_EQ(cases.size(), 9u);
    for (const test::Fields& c : cases) {
        Scenario s{.name = c[1].c_str(), .entries = {{0, 1}}};
        if (c[0] == "wide") {
            s.connect_fails = {TextForm::Narrow};
        }
        s.reply = c[1] == "none" ? std::nullopt : std::optional<std::string>(c[1]);
        const Log log = Fake(s).Run();
        const bool told = std::ranges::count(log, "Message 146") == 1;
        const bool sent = std::ranges::count(log, "Execute (TrackChannel 0 0)") == 1;
        EXPECT_EQ(told, c[2] == "yes") << c[0] << " " << c[1];
        EXPECT_EQ(sent, !told) << c[0] << " " << c[1];
        EXPECT_EQ(log.back(), "Close") << "everything released";
    }
}

}  // namespace
}  // namespace mirlka
