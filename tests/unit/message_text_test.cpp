#include "ui/message_text.h"

#include "ui/string_ids.h"

#include <gtest/gtest.h>

namespace mirlka {
namespace {

TEST(TitleIdForType, FollowsTheIconBitsOnly) {
    const struct {
        std::uint32_t type;
        unsigned id;
    } cases[] = {
        {0x10, kIdsTitleError},
        {0x20, kIdsTitleConfirm},
        {0x30, kIdsTitleWarning},
        {0x40, kIdsTitleInformation},
        {0x0, 0},
        {0x4, 0},
        {0x50, 0},
        {0xF0, 0},
        {0x1224, 138},
        {0xFFFFFF0F, 0},
        {0xFFFFFF4F, 140},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TitleIdForType(c.type), c.id) << std::hex << c.type;
    }
}

}  // namespace
}  // namespace mirlka
