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
#include "ui/on_screen.h"

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

std::string OnScreen(const Fields& c) {
    std::istringstream in(c[0] + " " + c[1] + " " + c[2]);
    std::int32_t x, y, w, h;
    in >> x >> y >> w >> h;
    std::vector<Rect> areas;
    for (Rect a; in >> a.left >> a.top >> a.right >> a.bottom;) {
        areas.push_back(a);
    }
    const Point p = PlaceOnScreen({x, y}, w, h, areas);
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

// The text of a track's expression or the closing one, once both forms carry it with their
// transfer size: bytes or UTF-16 units, terminator included.
std::string Expression(const Fields& c) {
    std::int32_t t = 0, v = 0;
    std::istringstream(c[0]) >> t >> v;
    const auto bytes = [&](TextForm form) {
        const HostText h =
            c[0] == "closing" ? ClosingExpression(form) : BuildTrackExpression(t, v, form);
        return std::string(static_cast<const char*>(h.Data()), h.Size());
    };
    const std::string narrow = bytes(TextForm::Narrow);
    std::string wide;
    for (char ch : narrow) {
        wide += {ch, '\0'};
    }
    return narrow.ends_with('\0') && bytes(TextForm::Wide) == wide
               ? narrow.substr(0, narrow.size() - 1)
               : "(forms differ)";
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
        {"on-screen.txt", OnScreen},
        {"paths-beside-module.txt",
         [](const Fields& c) {
             return PathBesideModule(c[1], c[2], test::LeadBytesOf(c[0])).value_or("(none)");
         }},
        {"settings-reading.txt",
         [](const Fields& c) { return RenderSettings(ParseSettings(c[1])); }},
        {"cal-expressions.txt", Expression},
    });
    // A comma in a folder's name would end an unquoted path.
    EXPECT_EQ(ExplorerSelectArgument(L"C:\\a, b\\x.exe"), L"/e, /select, \"C:\\a, b\\x.exe\"");
}

}  // namespace
}  // namespace mirlka
