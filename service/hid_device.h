// What discovery needs from the device layer. KTPEN.exe links the SetupAPI and HID implementation,
// ktpen-sim.exe the simulated devices; the rest of the service is the same in both.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ktpen {

struct HidCollectionInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;  // including the report id byte
};

// The device interface class searched by discovery.
GUID HidInterfaceClass();

// The index-th present interface of the class, opened for overlapped reading and writing; nullptr when
// there is none or it cannot be opened.
HANDLE OpenInterface(const GUID& interfaceClass, DWORD index);

// The attributes of an opened interface (vendor and product id).
bool GetCollectionAttributes(HANDLE device, HidCollectionInfo& info);

// The top-level collection's usage and input report length.
bool GetCollectionCaps(HANDLE device, HidCollectionInfo& info);

}  // namespace ktpen
