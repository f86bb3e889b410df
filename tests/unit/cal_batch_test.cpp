#include "host/cal_batch.h"

#include <cstdint>
#include <limits>
#include <ostream>
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

struct ExpressionCase {
    int t;
    std::int32_t v;
    std::string text;
};

void PrintTo(const ExpressionCase& c, std::ostream* os) {
    *os << "t=" << c.t << " v=" << c.v;
}

class TrackExpressionTest : public testing::TestWithParam<ExpressionCase> {};

TEST_P(TrackExpressionTest, BothFormsCarryTheSameTextWithTheirTransferSizes) {
    const ExpressionCase& expected = GetParam();
    const HostText narrow = BuildTrackExpression(expected.t, expected.v, TextForm::Narrow);
    const HostText wide = BuildTrackExpression(expected.t, expected.v, TextForm::Wide);

    EXPECT_EQ(narrow.narrow, expected.text);
    EXPECT_EQ(narrow.Size(), expected.text.size() + 1);
    EXPECT_EQ(Narrowed(wide.wide), expected.text);
    EXPECT_EQ(wide.Size(), 2 * expected.text.size() + 2);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrackExpressionTest,
    testing::Values(
        ExpressionCase{2, 10,
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 9 2) "
                       "(TrackSelect 1 2) (forEachEvent (= Event.Chan 9) ) (TrackSelect 0 2) )"},
        ExpressionCase{0, 1,
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 0 0) "
                       "(TrackSelect 1 0) (forEachEvent (= Event.Chan 0) ) (TrackSelect 0 0) )"},
        ExpressionCase{255, 16,
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 15 255) "
                       "(TrackSelect 1 255) (forEachEvent (= Event.Chan 15) ) (TrackSelect 0 255) "
                       ")"},
        ExpressionCase{0, 99,
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel 98 0) "
                       "(TrackSelect 1 0) (forEachEvent (= Event.Chan 98) ) (TrackSelect 0 0) )"},
        ExpressionCase{0, -3,
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel -4 0) "
                       "(TrackSelect 1 0) (forEachEvent (= Event.Chan -4) ) (TrackSelect 0 0) )"},
        ExpressionCase{7, std::numeric_limits<std::int32_t>::min(),
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel "
                       "-2147483649 7) (TrackSelect 1 7) (forEachEvent (= Event.Chan -2147483649) "
                       ") (TrackSelect 0 7) )"},
        ExpressionCase{7, std::numeric_limits<std::int32_t>::max(),
                       "(do (= From Now) (= Thru Now) (TrackSelect 0 -1) (TrackChannel "
                       "2147483646 7) (TrackSelect 1 7) (forEachEvent (= Event.Chan 2147483646) "
                       ") (TrackSelect 0 7) )"}));

TEST(CalBatchTest, LengthsOfTheUsualRange) {
    EXPECT_EQ(BuildTrackExpression(2, 10, TextForm::Narrow).Length(), 138u);
    EXPECT_EQ(BuildTrackExpression(255, 16, TextForm::Narrow).Length(), 146u);
    // The track number appears three times; going from one to two digits adds three characters.
    EXPECT_EQ(BuildTrackExpression(10, 5, TextForm::Narrow).Length(),
              BuildTrackExpression(9, 5, TextForm::Narrow).Length() + 3);
    EXPECT_EQ(BuildTrackExpression(9, 5, TextForm::Wide).Size(), 278u);
    EXPECT_EQ(BuildTrackExpression(255, 16, TextForm::Wide).Size(), 294u);
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
