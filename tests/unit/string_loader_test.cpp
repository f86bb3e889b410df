#include "ui/string_loader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "golden.h"

namespace mirlka {
namespace {

// The loader truncates like LoadStringA, or one byte shorter.
TEST(LoadStringGrowing, GrowsUntilThreeBytesAreLeft) {
    const auto cases = test::ReadCases("string-growth.txt");
    ASSERT_EQ(cases.size(), 8u);
    for (const test::Fields& c : cases) {
        std::string text;
        for (int i = 0; i < std::stoi(c[0]); ++i) {
            text.push_back(static_cast<char>('a' + i % 26));
        }
        std::string sizes;
        const auto loader = [&](unsigned, char* buffer, int size) {
            sizes += (sizes.empty() ? "" : " ") + std::to_string(size);
            int n = std::min(static_cast<int>(text.size()), size - 1);
            n -= c[1] == "yes" && n < static_cast<int>(text.size()) ? 1 : 0;
            std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
            buffer[n] = '\0';
            return n;
        };
        EXPECT_EQ(LoadStringGrowing(loader, 146), text) << c[0];
        EXPECT_EQ(sizes, c[2]) << c[0];
    }
}

}  // namespace
}  // namespace mirlka
