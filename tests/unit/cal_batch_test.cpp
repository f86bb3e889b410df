#include "host/cal_batch.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "golden.h"

namespace mirlka {
namespace {

// Both forms carry the same text, each with its transfer size: bytes or UTF-16 units, terminator
// included.
TEST(CalBatchTest, ExpressionsInBothFormsAreTheListedTexts) {
    const auto expressions = test::ReadCases("cal-expressions.txt");
    ASSERT_EQ(expressions.size(), 8u);
    for (const test::Fields& fields : expressions) {
        const std::string &key = fields[0], &text = fields[1];
        int t = 0;
        long long v = 0;
        const bool closing = key == "closing";
        ASSERT_TRUE(closing || std::sscanf(key.c_str(), "%d %lld", &t, &v) == 2) << key;
        for (const TextForm form : {TextForm::Narrow, TextForm::Wide}) {
            const HostText built =
                closing ? ClosingExpression(form) : BuildTrackExpression(t, std::int32_t(v), form);
            std::string expected;
            for (char c : text) {  // UTF-16 little-endian for the wide form
                expected += form == TextForm::Narrow ? std::string{c} : std::string{c, '\0'};
            }
            EXPECT_EQ(built.Bytes(), expected) << key;
            EXPECT_EQ(built.Size(), expected.size() + (form == TextForm::Narrow ? 1 : 2)) << key;
        }
    }
}

TEST(CalBatchTest, HandsOverTheTerminatedTextOfItsForm) {
    const HostText narrow = MakeHostText(TextForm::Narrow, "Yes");
    const HostText wide = MakeHostText(TextForm::Wide, "Yes");
    EXPECT_EQ(std::string(static_cast<const char*>(narrow.Data()), narrow.Size()),
              std::string("Yes\0", 4));
    EXPECT_EQ(std::string(static_cast<const char*>(wide.Data()), wide.Size()),
              std::string("Y\0e\0s\0\0\0", 8));
    EXPECT_TRUE(wide.narrow.empty());
    EXPECT_TRUE(narrow.wide.empty());
}

}  // namespace
}  // namespace mirlka
