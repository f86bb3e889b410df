// Where a window whose saved place lies off every display comes back on one.
#pragma once

#include <cstdint>
#include <span>

#include "ui/centering.h"

namespace mirlka {

// The top-left corner for a window of w x h saved at `corner`: `corner` itself when the window
// there overlaps one of `workAreas`, or none is known. Otherwise the window moves onto the nearest
// work area (the shortest gap between the two; the first listed of equally near ones), wholly
// inside it where it fits and else against its left or top edge, so that the title bar shows.
Point PlaceOnScreen(Point corner, std::int32_t w, std::int32_t h, std::span<const Rect> workAreas);

}  // namespace mirlka
