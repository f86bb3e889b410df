#include "ui/message_text.h"

#include <gtest/gtest.h>

#include "golden.h"

namespace mirlka {
namespace {

TEST(TitleIdForType, FollowsTheIconBitsOnly) {
    const auto cases = test::ReadCases("message-titles.txt");
    ASSERT_EQ(cases.size(), 11u);
    for (const test::Fields& c : cases) {
        EXPECT_EQ(TitleIdForType(std::stoul(c[0], nullptr, 16)), std::stoul(c[1])) << c[0];
    }
}

}  // namespace
}  // namespace mirlka
