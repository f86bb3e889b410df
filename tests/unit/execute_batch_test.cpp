#include "host/execute_batch.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "golden.h"

namespace mirlka {
namespace {

using Handle = HostTransport::Handle;
using Log = std::vector<std::string>;
using Options = std::map<std::string, std::string>;  // what goes wrong where, by key

constexpr Handle kConversation = 77;

// Plays the DDE layer, the host and the user's messages, logging every call. What the DDE layer
// would not accept shows in the log: a handle it never gave ("?") or a text of the other form.
class Fake final : public HostTransport, public HostNotifier {
  public:
    // Each option a field "key=value".
    explicit Fake(const test::Fields& fields) {
        for (const std::string& field : fields) {
            options_[field.substr(0, field.find('='))] = field.substr(field.find('=') + 1);
        }
        test::SetEntries(table_, options_["entries"]);
    }

    Log Run() {
        ExecuteBatch(*this, table_, *this);
        return log_;
    }

    bool Open(TextForm form) override {
        form_ = form;
        log_.push_back("Open " + FormName());
        return !Listed("open-fails", FormName());
    }
    Handle MakeName(const HostText& text) override {
        log_.push_back("Name " + Text(text));
        if (Listed("unmakeable", Text(text))) {
            return 0;
        }
        names_[++last_name_] = Text(text);
        return last_name_;
    }
    Handle Connect(Handle service, Handle topic) override {
        log_.push_back("Connect " + NameOf(service) + " " + NameOf(topic));
        return Listed("connect-fails", FormName()) ? 0 : kConversation;
    }
    std::optional<std::string> Request(Handle conversation, Handle item) override {
        log_.push_back("Request " + NameOf(item) + On(conversation));
        return options_.contains("reply") ? std::optional(options_["reply"]) : std::nullopt;
    }
    void FreeName(Handle name) override {
        log_.push_back("Free " + NameOf(name));
        names_.erase(name);
    }
    ExecuteResult ExecuteAsync(Handle conversation, const HostText& text) override {
        log_.push_back("Execute " + Text(text) + On(conversation));
        if (executes_ == 0) {
            test::SetEntries(table_, options_["edit-during-first"]);
        }
        const std::string index = std::to_string(executes_++);
        return options_["refused"] == index ? ExecuteResult::Refused : ExecuteResult::Sent;
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
    std::string FormName() const { return form_ == TextForm::Narrow ? "narrow" : "wide"; }
    bool Listed(const std::string& key, const std::string& word) {
        return (" " + options_[key] + " ").find(" " + word + " ") != std::string::npos;
    }
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

    Options options_;
    ArrayTrackTable table_;
    std::size_t executes_ = 0;
    Log log_;
    TextForm form_ = TextForm::Narrow;
    std::map<Handle, std::string> names_;
    Handle last_name_ = 0;
};

TEST(ExecuteBatchTest, Scenarios) {
    std::vector<std::pair<test::Fields, Log>> scenarios;
    for (const test::Fields& line : test::ReadCases("execute-batch.txt")) {
        if (line[0].starts_with("= ")) {
            scenarios.push_back({line, {}});
        } else if (!scenarios.empty()) {
            scenarios.back().second.push_back(line[0]);
        }
    }
    ASSERT_EQ(scenarios.size(), 10u);
    for (const auto& [header, expected] : scenarios) {
        EXPECT_EQ(Fake(test::Fields(header.begin() + 1, header.end())).Run(), expected)
            << header[0];
    }
    // Whether the host counts as playing, by its form of the conversation and its reply ("none":
    // no data): one that plays is told of and gets no text; every handle is released either way.
    test::ExpectTables(
        {{"playing-replies.txt", [](const test::Fields& c) {
              const Log log = Fake({"entries=0:1", c[0] == "wide" ? "connect-fails=narrow" : "",
                                    c[1] == "none" ? "" : "reply=" + c[1]})
                                  .Run();
              const auto told = std::ranges::count(log, "Message 146");
              const auto sent = std::ranges::count(log, "Execute (TrackChannel 0 0)");
              return told + sent != 1 || log.back() != "Close" ? "broken" : told ? "yes" : "no";
          }}});
}

}  // namespace
}  // namespace mirlka
