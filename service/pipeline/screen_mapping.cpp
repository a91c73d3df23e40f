#include "screen_mapping.h"

#include <algorithm>

#include "settings_file.h"

namespace ktpen {
namespace {

// Rounded position of `offset` within `extent` on the 0..65535 scale; 64-bit so that areas wider than
// the tablet cannot overflow.
int32_t Scale(int32_t offset, int32_t extent) {
    if (extent <= 0) return 0;
    return static_cast<int32_t>((static_cast<int64_t>(offset) * 65535 + (extent >> 1)) / extent);
}

}  // namespace

bool MapToDesktop(const ActiveArea* area, uint16_t x, uint16_t y, DesktopPoint& point) {
    if (area == nullptr) {
        x = std::min(x, pz::kTabletMaxX);
        y = std::min(y, pz::kTabletMaxY);
        point = {(x * 65535 + 5103) / 10206, (y * 65535 + 3711) / 7422};
        return true;
    }
    if (x > area->right || x < area->left || y > area->bottom || y < area->top) return false;
    const int32_t width = area->right - area->left;
    const int32_t height = area->bottom - area->top;
    if (width == 0 || height == 0) return false;
    point = {Scale(x - area->left, width), Scale(y - area->top, height)};
    return true;
}

DesktopPoint MapNearestInside(const ActiveArea& area, uint16_t x, uint16_t y) {
    const int32_t cx = std::clamp<int32_t>(x, area.left, std::max(area.left, area.right));
    const int32_t cy = std::clamp<int32_t>(y, area.top, std::max(area.top, area.bottom));
    return {Scale(cx - area.left, area.right - area.left), Scale(cy - area.top, area.bottom - area.top)};
}

}  // namespace ktpen
