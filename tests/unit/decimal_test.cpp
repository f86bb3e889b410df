#include "base/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "golden.h"

namespace mirlka {
namespace {

TEST(ReadDecimalTest, ReadsLikeAtoi) {
    const auto cases = test::ReadCases("decimal.txt");
    ASSERT_EQ(cases.size(), 21u);
    for (const test::Fields& c : cases) {
        EXPECT_EQ(ReadDecimal(c[0]), std::stoll(c[1])) << "text: \"" << c[0] << "\"";
    }
}

TEST(WriteDecimalTest, WritesSignedDecimalThatReadsBack) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(WriteDecimal(-120), "-120");
    EXPECT_EQ(WriteDecimal(10), "10");
    EXPECT_EQ(WriteDecimal(kMin), "-2147483648");
    for (std::int32_t v : {kMin, -1, 0, 1, 10, std::numeric_limits<std::int32_t>::max()}) {
        EXPECT_EQ(ReadDecimal(WriteDecimal(v)), v);
    }
}

}  // namespace
}  // namespace mirlka
