#include "ui/centering.h"

#include <sstream>

#include <gtest/gtest.h>

#include "golden.h"

namespace mirlka {
namespace {

TEST(CenteredPosition, CentresThenClampsNearEdgeFirst) {
    const auto cases = test::ReadCases("centering.txt");
    ASSERT_EQ(cases.size(), 13u);
    for (const test::Fields& c : cases) {
        std::istringstream in(c[0] + " " + c[1] + " " + c[2] + " " + c[3]);
        Rect reference, area;
        std::int32_t w, h, x, y;
        in >> reference.left >> reference.top >> reference.right >> reference.bottom >> area.left >>
            area.top >> area.right >> area.bottom >> w >> h >> x >> y;
        const Point p = CenteredPosition(reference, area, w, h);
        EXPECT_EQ(p.x, x) << c[0];
        EXPECT_EQ(p.y, y) << c[0];
    }
}

}  // namespace
}  // namespace mirlka
