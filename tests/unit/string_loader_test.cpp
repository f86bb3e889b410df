#include "ui/string_loader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace mirlka {
namespace {

// Entries of `length` bytes (0: empty, which reads like a missing one). The loader truncates
// like LoadStringA; with `shortBy`, like a loader that will not split a double-byte character, it
// fills one byte less than it could whenever it truncates.
TEST(LoadStringGrowing, GrowsUntilThreeBytesAreLeft) {
    const struct {
        std::size_t length;
        bool shortBy;
        std::vector<int> sizes;
    } cases[] = {
        {0, false, {256}},
        {253, false, {256}},
        {254, false, {256, 512}},
        {255, false, {256, 512}},
        {509, false, {256, 512}},
        {510, false, {256, 512, 768}},
        {1000, false, {256, 512, 768, 1024}},
        {300, true, {256, 512}},
    };
    for (const auto& c : cases) {
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i) {
            text.push_back(static_cast<char>('a' + i % 26));
        }
        std::vector<int> sizes;
        const auto loader = [&](unsigned, char* buffer, int size) {
            sizes.push_back(size);
            int n = std::min(static_cast<int>(text.size()), size - 1);
            n -= c.shortBy && n < static_cast<int>(text.size()) ? 1 : 0;
            std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
            buffer[n] = '\0';
            return n;
        };
        EXPECT_EQ(LoadStringGrowing(loader, 146), text) << c.length;
        EXPECT_EQ(sizes, c.sizes) << c.length;
    }
}

}  // namespace
}  // namespace mirlka
