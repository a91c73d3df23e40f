#include "pointer_target.h"

namespace ktpen {
namespace {
constexpr uint32_t kMoveFlag = 0x0001;
constexpr uint32_t kRightButtonFlags = 0x0008 | 0x0010;  // down, up
constexpr uint32_t kPlacementFlags = 0x4000 | 0x8000;    // virtual desk, absolute: no action by themselves
constexpr uint32_t kAbsoluteFlag = 0x8000;
constexpr int32_t kNormalisedMax = 65535;

bool RestrictsTarget(const pz::MappingSettings& mapping) {
    return mapping.SelectedMonitor != 0 || mapping.AreaMode != 0;
}

// A rectangle the mapping page wrote; anything else (unset, inverted, off the desktop) is ignored so that
// the pen never loses the screen over a bad record.
bool UsableArea(const int32_t area[4]) {
    return area[0] >= 0 && area[1] >= 0 && area[0] < area[2] && area[1] < area[3] && area[2] <= kNormalisedMax &&
           area[3] <= kNormalisedMax;
}

int32_t Into(int32_t value, int32_t low, int32_t high) {
    if (value < 0) value = 0;
    if (value > kNormalisedMax) value = kNormalisedMax;
    return low + static_cast<int32_t>(static_cast<int64_t>(value) * (high - low) / kNormalisedMax);
}
}  // namespace

bool ApplyPointerTarget(const pz::SettingsRecord* settings, PointerEvent& event) {
    if (settings == nullptr) return true;
    if (settings->DisableRightKey == 1) {
        event.flags &= ~kRightButtonFlags;
        if ((event.flags & ~kPlacementFlags) == 0) return false;
    }
    const pz::MappingSettings& mapping = settings->Mapping;
    if ((event.flags & (kAbsoluteFlag | kMoveFlag)) == (kAbsoluteFlag | kMoveFlag) && RestrictsTarget(mapping) &&
        UsableArea(mapping.ScreenArea)) {
        event.dx = Into(event.dx, mapping.ScreenArea[0], mapping.ScreenArea[2]);
        event.dy = Into(event.dy, mapping.ScreenArea[1], mapping.ScreenArea[3]);
    }
    return true;
}

}  // namespace ktpen
