// Where a window goes when it is centred over a reference rectangle and kept inside a work area.
#pragma once

#include <cstdint>

namespace mirlka {

// Pixel coordinates as the window manager gives them; width is right - left.
struct Rect {
    std::int32_t left, top, right, bottom;
};

struct Point {
    std::int32_t x, y;
};

// The top-left corner for a window of w x h centred over `reference` and clamped to `area`.
// The near edge wins over the far one: a window larger than the area whose centred position
// starts inside it is aligned to the far edge and sticks out on the near side. Positions beyond
// the 32-bit range (only with absurd rectangles) are saturated.
Point CenteredPosition(const Rect& reference, const Rect& area, std::int32_t w, std::int32_t h);

}  // namespace mirlka
