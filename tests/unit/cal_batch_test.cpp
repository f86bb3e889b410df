#include "host/cal_batch.h"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace mirlka {
namespace {

std::string Narrowed(const std::u16string& wide) {
    std::string out;
    for (char16_t c : wide) {
        EXPECT_LT(c, 0x80) << "non-ASCII unit in a host text";
        out.push_back(static_cast<char>(c));
    }
    return out;
}

// Both forms carry the same text, each with its transfer size: bytes or UTF-16 units, terminator
// included.
TEST(CalBatchTest, TrackExpressionInBothForms) {
    const struct {
        int t;
        std::int32_t v;
        std::string text;
    } cases[] = {{2, 10,
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 9 2) "
                  "(TrackSelect 1 2) (forEachEvent (= Event.Chan 9) ) (TrackSelect 0 2) )"},
                 {0, 1,
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 0 0) "
                  "(TrackSelect 1 0) (forEachEvent (= Event.Chan 0) ) (TrackSelect 0 0) )"},
                 {255, 16,
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 15 255) "
                  "(TrackSelect 1 255) (forEachEvent (= Event.Chan 15) ) (TrackSelect 0 255) "
                  ")"},
                 {0, 99,
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 98 0) "
                  "(TrackSelect 1 0) (forEachEvent (= Event.Chan 98) ) (TrackSelect 0 0) )"},
                 {0, -3,
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel -4 0) "
                  "(TrackSelect 1 0) (forEachEvent (= Event.Chan -4) ) (TrackSelect 0 0) )"},
                 {7, std::numeric_limits<std::int32_t>::min(),
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel "
                  "-2147483649 7) (TrackSelect 1 7) (forEachEvent (= Event.Chan -2147483649) "
                  ") (TrackSelect 0 7) )"},
                 {7, std::numeric_limits<std::int32_t>::max(),
                  "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel "
                  "2147483646 7) (TrackSelect 1 7) (forEachEvent (= Event.Chan 2147483646) "
                  ") (TrackSelect 0 7) )"}};
    for (const auto& c : cases) {
        const HostText narrow = BuildTrackExpression(c.t, c.v, TextForm::Narrow);
        const HostText wide = BuildTrackExpression(c.t, c.v, TextForm::Wide);
        EXPECT_EQ(narrow.narrow, c.text) << c.t << " " << c.v;
        EXPECT_EQ(narrow.Size(), c.text.size() + 1);
        EXPECT_EQ(Narrowed(wide.wide), c.text);
        EXPECT_EQ(wide.Size(), 2 * c.text.size() + 2);
    }
}

TEST(CalBatchTest, ClosingExpressionInBothForms) {
    const HostText narrow = ClosingExpression(TextForm::Narrow);
    const HostText wide = ClosingExpression(TextForm::Wide);
    EXPECT_EQ(narrow.narrow, "(do (= From Now) (= Thru Now) )");
    EXPECT_EQ(narrow.Size(), 32u);
    EXPECT_EQ(Narrowed(wide.wide), narrow.narrow);
    EXPECT_EQ(wide.Size(), 64u);
}

TEST(CalBatchTest, HandsOverTheTerminatedTextOfItsForm) {
    const HostText narrow = MakeHostText(TextForm::Narrow, "Yes");
    const HostText wide = MakeHostText(TextForm::Wide, "Yes");
    EXPECT_EQ(std::string(static_cast<const char*>(narrow.Data()), narrow.Size()),
              std::string("Yes\0", 4));
    const auto* units = static_cast<const char16_t*>(wide.Data());
    EXPECT_EQ(std::u16string(units, wide.Size() / 2), std::u16string(u"Yes\0", 4));
    EXPECT_EQ(wide.Bytes().size(), 6u);
    EXPECT_TRUE(wide.narrow.empty());
    EXPECT_TRUE(narrow.wide.empty());
}

}  // namespace
}  // namespace mirlka
