#include "host/tool_entry.h"

#include <gtest/gtest.h>

#include "golden.h"

namespace {

TEST(ToolDisplayText, NameFollowedByMajorPointMinor) {
    const auto cases = mirlka::test::ReadCases("tool-display.txt");
    ASSERT_EQ(cases.size(), 6u);
    for (const mirlka::test::Fields& c : cases) {
        const auto version = static_cast<std::uint32_t>(std::stoul(c[0], nullptr, 16));
        EXPECT_EQ(mirlka::ToolDisplayText("Mirelka", version), c[1]) << c[0];
    }
}

}  // namespace
