// Finding the tablet: the first HID interface that is a supported pen tablet is opened, its model's
// properties recorded, and its reader (and, when it sends no leave report of its own, watchdog) started.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ktpen {

struct TabletDevice {
    HANDLE handle = nullptr;  // none while closed
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t reportLength = 0;
    uint16_t pressureMaximum = 0;
    uint16_t ownLeaveReport = 0;
};

// The open tablet and the properties of its row; written by discovery, read by the reader thread.
extern TabletDevice g_tablet;

// True when a tablet was opened and its reader thread started.
bool DiscoverTablet();
// True, with the properties recorded, when `device` is a supported tablet; otherwise closes it.
bool MatchTablet(HANDLE device);
// Closes the device handle, if any.
void CloseTablet();

}  // namespace ktpen
