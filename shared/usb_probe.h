// Decides from the ids a USB probe library returned whether a supported tablet is plugged in.
#pragma once

#include <cstdint>

namespace pz {

// One entry of the probe library's buffer: vendor id, then product id.
struct UsbId {
    uint16_t VendorId;
    uint16_t ProductId;
};

constexpr int kUsbProbeEntries = 32;  // the buffer the caller hands to EnumUsbID

// True when one of the first `count` entries (never more than 32) names an accepted model.
bool MatchSupportedTablet(const UsbId* entries, int count);

}  // namespace pz
