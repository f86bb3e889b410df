#include "ui/centering.h"

#include <algorithm>
#include <limits>

namespace mirlka {

namespace {

// One axis; 64-bit so that sums of extreme coordinates cannot overflow. C++ division truncates
// toward zero, so the centre of -1 and 0 is 0.
std::int32_t CenterOnAxis(std::int64_t refNear, std::int64_t refFar, std::int64_t areaNear,
                          std::int64_t areaFar, std::int64_t size) {
    std::int64_t pos = (refNear + refFar) / 2 - size / 2;
    if (pos < areaNear) {
        pos = areaNear;
    } else if (pos + size > areaFar) {
        pos = areaFar - size;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        pos, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

Point CenteredPosition(const Rect& reference, const Rect& area, std::int32_t w, std::int32_t h) {
    return {CenterOnAxis(reference.left, reference.right, area.left, area.right, w),
            CenterOnAxis(reference.top, reference.bottom, area.top, area.bottom, h)};
}

}  // namespace mirlka
