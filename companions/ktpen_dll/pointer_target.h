// Where the pointer library sends the service's pointer events: the whole desktop by default, or the
// screen area the settings program's mapping page chose, and without right-button events when the user
// switched the right key off.
#pragma once

#include <cstdint>

#include "records.h"

namespace ktpen {

struct PointerEvent {
    uint32_t flags;  // mouse_event flags
    int32_t dx;      // 0..65535 across the desktop when the flags hold MOUSEEVENTF_ABSOLUTE
    int32_t dy;
    uint32_t data;
};

// Adjusts `event` to the user's settings (none: unchanged). False when nothing is left to send.
bool ApplyPointerTarget(const pz::SettingsRecord* settings, PointerEvent& event);

}  // namespace ktpen
