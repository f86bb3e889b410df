#include "ui/string_loader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include <gtest/gtest.h>

namespace mirlka {
namespace {

// Truncates like LoadStringA and records the buffer sizes it was asked for.
struct FakeTable {
    std::map<unsigned, std::string> entries;
    std::vector<int> sizes;

    LoadStringFn Loader() {
        return [this](unsigned id, char* buffer, int size) {
            sizes.push_back(size);
            auto it = entries.find(id);
            if (it == entries.end()) {
                return 0;
            }
            const int n = std::min(static_cast<int>(it->second.size()), size - 1);
            std::memcpy(buffer, it->second.data(), static_cast<std::size_t>(n));
            buffer[n] = '\0';
            return n;
        };
    }
};

TEST(LoadStringGrowing, GrowsUntilThreeBytesAreLeft) {
    const struct {
        std::size_t length;
        std::vector<int> sizes;
    } cases[] = {
        {0, {256}},  // an empty entry reads like a missing one
        {253, {256}},      {254, {256, 512}},      {255, {256, 512}},
        {509, {256, 512}}, {510, {256, 512, 768}}, {1000, {256, 512, 768, 1024}},
    };
    for (const auto& c : cases) {
        std::string text;
        for (std::size_t i = 0; i < c.length; ++i) {
            text.push_back(static_cast<char>('a' + i % 26));
        }
        FakeTable table;
        table.entries[146] = text;
        EXPECT_EQ(LoadStringGrowing(table.Loader(), 146), text) << c.length;
        EXPECT_EQ(table.sizes, c.sizes) << c.length;
    }
}

TEST(LoadStringGrowing, MissingEntryIsEmpty) {
    FakeTable table;
    table.entries[2] = "http://example.invalid/";
    EXPECT_EQ(LoadStringGrowing(table.Loader(), 3), "");
    EXPECT_EQ(table.sizes, std::vector<int>{256});
}

TEST(LoadStringGrowing, LoaderStoppingShortOfTheEndStillGrows) {
    // A loader that will not split a double-byte character fills one byte less than it could.
    std::vector<int> sizes;
    const std::string text(300, 'x');
    auto loader = [&](unsigned, char* buffer, int size) {
        sizes.push_back(size);
        int n = std::min(static_cast<int>(text.size()), size - 1);
        if (n < static_cast<int>(text.size())) {
            --n;
        }
        std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
        buffer[n] = '\0';
        return n;
    };
    EXPECT_EQ(LoadStringGrowing(loader, 1), text);
    EXPECT_EQ(sizes, (std::vector<int>{256, 512}));
}

}  // namespace
}  // namespace mirlka
