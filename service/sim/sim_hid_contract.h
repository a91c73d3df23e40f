// The contract of a simulated HID device, shared by the simulated device layer of ktpen-sim.exe and the
// simhid.exe tool that plays a device. Device index i is the message-mode duplex pipe
// "\\.\pipe\PzSimHid<i>" (one message is one input report; closing the pipe is an unplug) and the named
// block "PzSimHidAttributes<i>" holding its attributes.
#pragma once

#include <cstdint>
#include <string>

namespace pzsim {

struct SimHidAttributes {
    uint16_t VendorId;
    uint16_t ProductId;
    uint16_t UsagePage;
    uint16_t Usage;
    uint16_t InputReportLength;  // including the report id byte
    uint16_t Reserved;
};
static_assert(sizeof(SimHidAttributes) == 12, "the attribute block is 12 bytes");

constexpr unsigned kSimHidMaxIndex = 32;  // discovery looks at indices 0 to 32

inline std::string SimHidPipeName(unsigned index) {
    return "\\\\.\\pipe\\PzSimHid" + std::to_string(index);
}

inline std::string SimHidAttributesName(unsigned index) {
    return "PzSimHidAttributes" + std::to_string(index);
}

}  // namespace pzsim
