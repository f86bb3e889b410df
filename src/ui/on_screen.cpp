#include "ui/on_screen.h"

#include <algorithm>

namespace mirlka {

namespace {

// One axis, 64-bit so that extreme coordinates cannot overflow: the gap between the window's span
// and the area's, 0 when they overlap or touch.
std::int64_t Gap(std::int64_t pos, std::int64_t size, std::int64_t areaNear, std::int64_t areaFar) {
    return std::max<std::int64_t>({areaNear - (pos + size), pos - areaFar, 0});
}

bool Overlaps(std::int64_t pos, std::int64_t size, std::int64_t areaNear, std::int64_t areaFar) {
    return pos < areaFar && areaNear < pos + size;
}

// The near edge wins when the window is larger than the area.
std::int32_t Inside(std::int64_t pos, std::int64_t size, std::int64_t areaNear,
                    std::int64_t areaFar) {
    return static_cast<std::int32_t>(std::max(std::min(pos, areaFar - size), areaNear));
}

}  // namespace

Point PlaceOnScreen(Point corner, std::int32_t w, std::int32_t h, std::span<const Rect> workAreas) {
    const Rect* nearest = nullptr;
    double nearestGap = 0;  // squared, which may need more than 64 bits
    for (const Rect& a : workAreas) {
        if (Overlaps(corner.x, w, a.left, a.right) && Overlaps(corner.y, h, a.top, a.bottom)) {
            return corner;
        }
        const auto dx = static_cast<double>(Gap(corner.x, w, a.left, a.right));
        const auto dy = static_cast<double>(Gap(corner.y, h, a.top, a.bottom));
        if (!nearest || dx * dx + dy * dy < nearestGap) {
            nearest = &a;
            nearestGap = dx * dx + dy * dy;
        }
    }
    if (!nearest) {
        return corner;
    }
    return {Inside(corner.x, w, nearest->left, nearest->right),
            Inside(corner.y, h, nearest->top, nearest->bottom)};
}

}  // namespace mirlka
