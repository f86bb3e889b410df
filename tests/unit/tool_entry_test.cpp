#include "host/tool_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolDisplayText, NameFollowedByMajorPointMinor) {
    const struct {
        std::uint32_t version;
        const char* expected;
    } cases[] = {
        {0x00010001u, "Mirelka 1.1"},          // the program's own 1.1.2005.708
        {0x00000000u, "Mirelka 0.0"},          // a file without version information
        {0x000A0014u, "Mirelka 10.20"},        // decimal, no leading zeros
        {0xFFFFFFFFu, "Mirelka 65535.65535"},  // both halves unsigned
        {0x00030000u, "Mirelka 3.0"},          // the halves are not mixed up
        {0x00000007u, "Mirelka 0.7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mirlka::ToolDisplayText("Mirelka", c.version), c.expected)
            << std::hex << c.version;
    }
}

}  // namespace
