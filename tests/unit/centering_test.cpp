#include "ui/centering.h"

#include <gtest/gtest.h>

namespace mirlka {
namespace {

// A window larger than the area is placed by the near edge when its centre lies before the area,
// else by the far edge: both outcomes in each direction.
TEST(CenteredPosition, CentresThenClampsNearEdgeFirst) {
    const Rect screen{0, 0, 1024, 738};
    const struct {
        const char* name;
        Rect reference, area;
        std::int32_t w, h;
        std::int32_t x, y;
    } cases[] = {
        {"inside", {0, 0, 800, 600}, screen, 300, 200, 250, 200},
        {"past far edges", {900, 500, 1300, 800}, screen, 300, 200, 724, 538},
        {"past near edges", {-400, -300, 0, 0}, screen, 300, 200, 0, 0},
        {"odd sizes truncate", {0, 0, 101, 51}, screen, 31, 11, 35, 20},
        {"wider, centre left of area", {-2000, 0, 0, 600}, screen, 1200, 200, 0, 200},
        {"wider, centre inside area", {1000, 0, 1400, 600}, screen, 1200, 200, -176, 200},
        {"taller, centre above area", {0, -2000, 800, 0}, screen, 300, 900, 250, 0},
        {"taller, centre inside area", {0, 800, 800, 1000}, screen, 300, 900, 250, -162},
        {"display on the left", {-1, -1, 0, 0}, {-1024, -768, 0, 0}, 0, 0, 0, 0},
        {"negative centre", {-1025, 0, 0, 0}, {-2000, -100, 0, 100}, 100, 0, -562, 0},
        {"negative odd size", {-3, -3, 0, 0}, {-100, -100, 100, 100}, 3, 3, -2, -2},
    };
    for (const auto& c : cases) {
        const Point p = CenteredPosition(c.reference, c.area, c.w, c.h);
        EXPECT_EQ(p.x, c.x) << c.name;
        EXPECT_EQ(p.y, c.y) << c.name;
    }
}

}  // namespace
}  // namespace mirlka
