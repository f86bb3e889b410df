// The core's rules as tables of cases under tests/data: each row holds the inputs, and its last
// field is what the core must make of them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/decimal.h"
#include "base/paths.h"
#include "golden.h"
#include "host/cal_batch.h"
#include "host/tool_entry.h"
#include "settings/settings_store.h"
#include "ui/centering.h"
#include "ui/message_text.h"

namespace mirlka {
namespace {

using test::Fields;

// "x y" for a window of w x h placed by CenteredPosition, all read from the row's fields.
std::string Centred(const Fields& c) {
    std::istringstream in(c[0] + " " + c[1] + " " + c[2]);
    Rect reference, area;
    std::int32_t w, h;
    in >> reference.left >> reference.top >> reference.right >> reference.bottom >> area.left >>
        area.top >> area.right >> area.bottom >> w >> h;
    const Point p = CenteredPosition(reference, area, w, h);
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

TEST(CoreTables, EveryRowGivesItsListedResult) {
    test::ExpectTables({
        {"decimal.txt", [](const Fields& c) { return std::to_string(ReadDecimal(c[0])); }},
        {"decimal-writing.txt", [](const Fields& c) { return WriteDecimal(std::stoi(c[0])); }},
        {"message-titles.txt",
         [](const Fields& c) {
             return std::to_string(TitleIdForType(std::stoul(c[0], nullptr, 16)));
         }},
        {"tool-display.txt",
         [](const Fields& c) {
             return ToolDisplayText("Mirelka", std::uint32_t(std::stoul(c[0], nullptr, 16)));
         }},
        {"centering.txt", Centred},
        {"paths-beside-module.txt",
         [](const Fields& c) {
             return PathBesideModule(c[1], c[2], test::LeadBytesOf(c[0])).value_or("(none)");
         }},
        {"settings-reading.txt",
         [](const Fields& c) { return RenderSettings(ParseSettings(c[1])); }},
    });
}
// Both forms carry the same text, each with its transfer size: bytes or UTF-16 units, terminator
// included.
TEST(CoreTables, ExpressionsInBothFormsAreTheListedTexts) {
    const auto expressions = test::ReadCases("cal-expressions.txt");
    ASSERT_EQ(expressions.size(), 8u);
    for (const Fields& fields : expressions) {
        const std::string &key = fields[0], &text = fields[1];
        int t = 0;
        long long v = 0;
        const bool closing = key == "closing";
        ASSERT_TRUE(closing || std::sscanf(key.c_str(), "%d %lld", &t, &v) == 2) << key;
        for (const TextForm form : {TextForm::Narrow, TextForm::Wide}) {
            const HostText built =
                closing ? ClosingExpression(form) : BuildTrackExpression(t, std::int32_t(v), form);
            std::string expected;
            for (char c : text + '\0') {  // UTF-16 little-endian for the wide form
                expected += form == TextForm::Narrow ? std::string{c} : std::string{c, '\0'};
            }
            EXPECT_EQ(std::string(static_cast<const char*>(built.Data()), built.Size()), expected)
                << key;
        }
    }
}

// A comma in a folder's name would end an unquoted path.
TEST(CoreTables, ExplorerIsGivenThePathInQuotes) {
    EXPECT_EQ(ExplorerSelectArgument(L"C:\\a, b\\x.exe"), L"/e, /select, \"C:\\a, b\\x.exe\"");
}

}  // namespace
}  // namespace mirlka
