// Maps a tablet position inside the active area onto absolute pointer coordinates, 0..65535 across the
// virtual desktop.
#pragma once

#include <cstdint>

namespace ktpen {

struct ActiveArea {
    uint16_t left, top, right, bottom;
};

struct DesktopPoint {
    int32_t dx, dy;
};

// With an area: false for a position outside it, and for an area without width or height (nothing can
// be mapped from it). Without an area (nullptr) the whole tablet maps and positions beyond it clamp.
bool MapToDesktop(const ActiveArea* area, uint16_t x, uint16_t y, DesktopPoint& point);

// The point of the area's edge nearest to a position outside it, mapped; for releasing a button there.
DesktopPoint MapNearestInside(const ActiveArea& area, uint16_t x, uint16_t y);

}  // namespace ktpen
