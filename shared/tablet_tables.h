// The tablets this suite supports: the model table the user programs and the key service carry, and
// the service's device table. Every vendor and product id of the suite lives in tablet_tables.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pz {

constexpr uint16_t kVendorId = 0x4B54;
constexpr uint16_t kEightKeyProductId = 0x8501;

// One row of TabletModelTable: eleven little-endian 16-bit words, 22 bytes.
struct TabletModel {
    uint16_t VendorId;
    uint16_t ProductId;
    uint16_t PenReportLength;  // 8 or 10
    uint16_t Zero6;
    uint16_t PressureMaximum;  // 511 or 1023
    uint16_t TiltFlag;
    uint16_t WidthInches;
    uint16_t HeightInches;
    uint16_t Zero16;
    uint16_t KeypadReportLength;  // 5, or 0 for models without keys
    uint16_t Accepted;            // 1 = the probe reports the model as supported
};
static_assert(sizeof(TabletModel) == 22, "a model row is 22 bytes");

constexpr size_t kTabletModelRows = 65;
// 65 rows and the terminating row whose vendor id is 0.
extern const TabletModel TabletModelTable[kTabletModelRows + 1];

// One row of the service's device table; the key is (vendor, product, report length).
struct DeviceRow {
    uint16_t VendorId;
    uint16_t ProductId;
    uint16_t ReportLength;  // 8 or 10, including the report id byte
    uint16_t Reserved;
    uint16_t PressureMaximum;
    uint16_t OwnLeaveReport;  // 0: the watchdog detects the pen leaving by silence
};

constexpr size_t kDeviceRows = 61;
extern const DeviceRow DeviceTable[kDeviceRows + 1];

// First device-table row matching the triple, or nullptr.
const DeviceRow* FindDeviceRow(uint16_t vendorId, uint16_t productId, uint16_t reportLength);

// First model-table row of a product id (the key service looks at no later row), or nullptr.
const TabletModel* FindFirstModelRow(uint16_t vendorId, uint16_t productId);

// The model row of a product and pen report length, or nullptr.
const TabletModel* FindModelRow(uint16_t vendorId, uint16_t productId, uint16_t penReportLength);

}  // namespace pz
