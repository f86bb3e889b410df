#include "ui/centering.h"

#include <limits>

#include <gtest/gtest.h>

namespace mirlka {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

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

TEST(CenteredPosition, ExtremeCoordinatesNeitherOverflowNorWrap) {
    const Rect huge{kMin, kMin, kMax, kMax};
    EXPECT_EQ(CenteredPosition({kMax - 10, kMax - 10, kMax, kMax}, huge, 100, 100).x, kMax - 100);
    EXPECT_EQ(CenteredPosition({kMin, kMin, kMin + 10, kMin + 10}, huge, 100, 100).y, kMin);
    // The far edge would put the window below the 32-bit range: it saturates instead of wrapping.
    const Point p =
        CenteredPosition({kMax, kMax, kMax, kMax}, {kMin, kMin, kMin + 1, kMin + 1}, kMax, kMax);
    EXPECT_EQ(p.x, kMin);
    EXPECT_EQ(p.y, kMin);
}

}  // namespace
}  // namespace mirlka
