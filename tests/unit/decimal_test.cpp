#include "base/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace mirlka {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ReadDecimalTest, ReadsLikeAtoi) {
    struct Case {
        std::string_view text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+", 0},
        {"-0", 0},
        {"42", 42},
        {"+5", 5},
        {"-3", -3},
        {"7abc", 7},
        {"0012", 12},
        {" \t\n\v\f\r16", 16},
        {"  -2147483648", kMin},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"-2147483649", kMin},
        {"99999999999999999999999", kMax},
        {"-99999999999999999999999", kMin},
        {"- 5", 0},
        {"+-5", 0},
        {"1 2", 1},
        {"\xA0+5", 0},  // only ASCII blanks are skipped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadDecimal(c.text), c.expected) << "text: \"" << c.text << "\"";
    }
}

TEST(WriteDecimalTest, WritesSignedDecimalThatReadsBack) {
    EXPECT_EQ(WriteDecimal(0), "0");
    EXPECT_EQ(WriteDecimal(10), "10");
    EXPECT_EQ(WriteDecimal(-120), "-120");
    EXPECT_EQ(WriteDecimal(kMin), "-2147483648");
    for (std::int32_t v : {kMin, -1, 0, 1, 16, kMax}) {
        EXPECT_EQ(ReadDecimal(WriteDecimal(v)), v);
    }
}

}  // namespace
}  // namespace mirlka
