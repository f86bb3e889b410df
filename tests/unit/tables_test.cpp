// The core's rules as tables of cases under tests/data: each row holds the inputs, and its last
// field is what the core must make of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>

#include "app/table_edits.h"
#include "base/decimal.h"
#include "base/paths.h"
#include "golden.h"
#include "host/cal_batch.h"
#include "host/cal_program.h"
#include "host/tool_entry.h"
#include "settings/settings_store.h"
#include "ui/centering.h"
#include "ui/explorer_argument.h"
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

// Number on a table set as the row's first field, with the rows of its second field selected.
std::string Numbered(const Fields& c) {
    ArrayTrackTable table;
    test::SetEntries(table, c[0], 1);
    std::vector<int> selected;
    std::istringstream in(c[1]);
    for (int row; in >> row;) {
        selected.push_back(row - 1);
    }
    NumberRows(table, selected);
    return test::Entries(table);
}

// The history through the steps of the row's second field, from the table of its first.
std::string AfterSteps(const Fields& c) {
    ArrayTrackTable table;
    test::SetEntries(table, c[0], 1);
    TableHistory history;
    std::istringstream in(c[1]);
    for (std::string step; in >> step;) {
        std::replace(step.begin(), step.end(), ',', ' ');
        const int times = step.size() > 1 && !std::isdigit(step[0]) ? std::stoi(step.substr(1)) : 1;
        for (int i = 0; i < times; ++i) {
            const TableValues before = ReadValues(table);
            if (step[0] == 'u' || step[0] == 'r') {
                step[0] == 'u' ? history.Undo(table) : history.Redo(table);
                continue;
            }
            step[0] == '+' ? table.SetEntry(kTrackCount - 1, table.Entry(kTrackCount - 1) + 1)
                           : test::SetEntries(table, step, 1);
            history.Record(before, ReadValues(table));
        }
    }
    return test::Entries(table) + " / " + std::to_string(history.UndoSteps()) + " " +
           std::to_string(history.RedoSteps());
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
             const auto wide = [](const std::string& ascii) {
                 return std::wstring(ascii.begin(), ascii.end());
             };
             const auto path = PathBesideModule(wide(c[0]), wide(c[1]));
             return path ? std::string(path->begin(), path->end()) : "(none)";
         }},
        {"settings-reading.txt",
         [](const Fields& c) { return RenderSettings(ParseSettings(c[1])); }},
        {"cal-expressions.txt", Expression},
        {"cal-programs.txt",
         [](const Fields& c) {
             ArrayTrackTable table;
             test::SetEntries(table, c[0], 1);
             return BuildCalProgram(table, "Mirelka 1.1");
         }},
        {"numbering.txt", Numbered},
        {"table-history.txt", AfterSteps},
    });
    // A comma in a folder's name would end an unquoted path.
    EXPECT_EQ(ExplorerSelectArgument(L"C:\\a, b\\x.exe"), L"/e, /select, \"C:\\a, b\\x.exe\"");
}

}  // namespace
}  // namespace mirlka
