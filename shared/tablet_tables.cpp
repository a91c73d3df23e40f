#include "tablet_tables.h"

namespace pz {

// Device rows, searched from the top. The first thirteen are the early 9-bit tablets that send no report
// of their own when the pen leaves; the 0x82xx family and the eight-key 0x8501 also come as 10-byte
// tilt models, listed a second time with that report length.
const DeviceRow DeviceTable[kDeviceRows + 1] = {
    {kVendorId, 0x8001, 8, 0, 511, 0},   {kVendorId, 0x8002, 8, 0, 511, 0},
    {kVendorId, 0x8003, 8, 0, 511, 0},   {kVendorId, 0x8004, 8, 0, 511, 0},
    {kVendorId, 0x8005, 8, 0, 511, 0},   {kVendorId, 0x8006, 8, 0, 511, 0},
    {kVendorId, 0x8007, 8, 0, 511, 0},   {kVendorId, 0x8008, 8, 0, 511, 0},
    {kVendorId, 0x8009, 8, 0, 511, 0},   {kVendorId, 0x800A, 8, 0, 511, 0},
    {kVendorId, 0x800B, 8, 0, 511, 0},   {kVendorId, 0x800C, 8, 0, 511, 0},
    {kVendorId, 0x800D, 8, 0, 511, 0},   {kVendorId, 0x8101, 8, 0, 1023, 0},
    {kVendorId, 0x8102, 8, 0, 1023, 0},  {kVendorId, 0x8103, 8, 0, 1023, 0},
    {kVendorId, 0x8104, 8, 0, 1023, 0},  {kVendorId, 0x8105, 8, 0, 1023, 0},
    {kVendorId, 0x8201, 8, 0, 1023, 1},  {kVendorId, 0x8202, 8, 0, 1023, 1},
    {kVendorId, 0x8203, 8, 0, 1023, 1},  {kVendorId, 0x8204, 8, 0, 1023, 1},
    {kVendorId, 0x8205, 8, 0, 1023, 1},  {kVendorId, 0x8206, 8, 0, 1023, 1},
    {kVendorId, 0x8207, 8, 0, 1023, 1},  {kVendorId, 0x8208, 8, 0, 1023, 1},
    {kVendorId, 0x8209, 8, 0, 1023, 1},  {kVendorId, 0x820A, 8, 0, 1023, 1},
    {kVendorId, 0x820B, 8, 0, 1023, 1},  {kVendorId, 0x820C, 8, 0, 1023, 1},
    {kVendorId, 0x820D, 8, 0, 1023, 1},  {kVendorId, 0x820E, 8, 0, 1023, 1},
    {kVendorId, 0x820F, 8, 0, 1023, 1},  {kVendorId, 0x8210, 8, 0, 1023, 1},
    {kVendorId, 0x8211, 8, 0, 1023, 1},  {kVendorId, 0x8212, 8, 0, 1023, 1},
    {kVendorId, 0x8501, 8, 0, 1023, 1},  {kVendorId, 0x8301, 8, 0, 511, 1},
    {kVendorId, 0x8302, 8, 0, 511, 1},   {kVendorId, 0x8201, 10, 0, 1023, 1},
    {kVendorId, 0x8202, 10, 0, 1023, 1}, {kVendorId, 0x8203, 10, 0, 1023, 1},
    {kVendorId, 0x8204, 10, 0, 1023, 1}, {kVendorId, 0x8205, 10, 0, 1023, 1},
    {kVendorId, 0x8206, 10, 0, 1023, 1}, {kVendorId, 0x8207, 10, 0, 1023, 1},
    {kVendorId, 0x8208, 10, 0, 1023, 1}, {kVendorId, 0x8209, 10, 0, 1023, 1},
    {kVendorId, 0x820A, 10, 0, 1023, 1}, {kVendorId, 0x820B, 10, 0, 1023, 1},
    {kVendorId, 0x820C, 10, 0, 1023, 1}, {kVendorId, 0x820D, 10, 0, 1023, 1},
    {kVendorId, 0x820E, 10, 0, 1023, 1}, {kVendorId, 0x820F, 10, 0, 1023, 1},
    {kVendorId, 0x8210, 10, 0, 1023, 1}, {kVendorId, 0x8211, 10, 0, 1023, 1},
    {kVendorId, 0x8212, 10, 0, 1023, 1}, {kVendorId, 0x8501, 10, 0, 1023, 1},
    {kVendorId, 0x8101, 10, 0, 1023, 1}, {kVendorId, 0x8401, 10, 0, 1023, 1},
    {kVendorId, 0x8402, 10, 0, 1023, 1}, {0, 0, 0, 0, 0, 0},
};

// Model rows: the accepted models first (each tilt-capable model twice, once per pen report length),
// then the retired models the probe refuses.
const TabletModel TabletModelTable[kTabletModelRows + 1] = {
    {kVendorId, 0x8101, 8, 0, 1023, 0, 4, 3, 0, 0, 1},   {kVendorId, 0x8101, 10, 0, 1023, 1, 4, 3, 0, 0, 1},
    {kVendorId, 0x8201, 8, 0, 1023, 0, 5, 4, 0, 5, 1},   {kVendorId, 0x8201, 10, 0, 1023, 1, 5, 4, 0, 5, 1},
    {kVendorId, 0x8202, 8, 0, 1023, 0, 6, 5, 0, 5, 1},   {kVendorId, 0x8202, 10, 0, 1023, 1, 6, 5, 0, 5, 1},
    {kVendorId, 0x8203, 8, 0, 1023, 0, 8, 6, 0, 5, 1},   {kVendorId, 0x8203, 10, 0, 1023, 1, 8, 6, 0, 5, 1},
    {kVendorId, 0x8204, 8, 0, 1023, 0, 11, 7, 0, 5, 1},  {kVendorId, 0x8204, 10, 0, 1023, 1, 11, 7, 0, 5, 1},
    {kVendorId, 0x8205, 8, 0, 1023, 0, 16, 10, 0, 5, 1}, {kVendorId, 0x8205, 10, 0, 1023, 1, 16, 10, 0, 5, 1},
    {kVendorId, 0x8206, 8, 0, 1023, 0, 4, 3, 0, 5, 1},   {kVendorId, 0x8206, 10, 0, 1023, 1, 4, 3, 0, 5, 1},
    {kVendorId, 0x8207, 8, 0, 1023, 0, 5, 4, 0, 5, 1},   {kVendorId, 0x8207, 10, 0, 1023, 1, 5, 4, 0, 5, 1},
    {kVendorId, 0x8208, 8, 0, 1023, 0, 6, 5, 0, 0, 1},   {kVendorId, 0x8208, 10, 0, 1023, 1, 6, 5, 0, 5, 1},
    {kVendorId, 0x8209, 8, 0, 1023, 0, 8, 6, 0, 0, 1},   {kVendorId, 0x8209, 10, 0, 1023, 1, 8, 6, 0, 0, 1},
    {kVendorId, 0x820A, 8, 0, 1023, 0, 11, 7, 0, 0, 1},  {kVendorId, 0x820A, 10, 0, 1023, 1, 11, 7, 0, 0, 1},
    {kVendorId, 0x820B, 8, 0, 1023, 0, 16, 10, 0, 0, 1}, {kVendorId, 0x820B, 10, 0, 1023, 1, 16, 10, 0, 0, 1},
    {kVendorId, 0x820C, 8, 0, 1023, 0, 4, 3, 0, 0, 1},   {kVendorId, 0x820C, 10, 0, 1023, 1, 4, 3, 0, 0, 1},
    {kVendorId, 0x820D, 8, 0, 1023, 0, 5, 4, 0, 0, 1},   {kVendorId, 0x820D, 10, 0, 1023, 1, 5, 4, 0, 0, 1},
    {kVendorId, 0x820E, 8, 0, 1023, 0, 6, 5, 0, 0, 1},   {kVendorId, 0x820E, 10, 0, 1023, 1, 6, 5, 0, 0, 1},
    {kVendorId, 0x820F, 8, 0, 1023, 0, 8, 6, 0, 0, 1},   {kVendorId, 0x820F, 10, 0, 1023, 1, 8, 6, 0, 0, 1},
    {kVendorId, 0x8210, 8, 0, 1023, 0, 11, 7, 0, 0, 1},  {kVendorId, 0x8210, 10, 0, 1023, 1, 11, 7, 0, 0, 1},
    {kVendorId, 0x8211, 8, 0, 1023, 0, 16, 10, 0, 0, 1}, {kVendorId, 0x8211, 10, 0, 1023, 1, 16, 10, 0, 0, 1},
    {kVendorId, 0x8212, 8, 0, 1023, 0, 4, 3, 0, 0, 1},   {kVendorId, 0x8212, 10, 0, 1023, 1, 4, 3, 0, 0, 1},
    {kVendorId, 0x8501, 8, 0, 1023, 0, 11, 7, 0, 5, 1},  {kVendorId, 0x8501, 10, 0, 1023, 1, 11, 7, 0, 5, 1},
    {kVendorId, 0x8301, 8, 0, 511, 0, 6, 5, 0, 0, 1},    {kVendorId, 0x8301, 10, 0, 511, 1, 6, 5, 0, 0, 1},
    {kVendorId, 0x8001, 8, 0, 511, 0, 8, 6, 0, 0, 1},    {kVendorId, 0x8002, 8, 0, 511, 0, 11, 7, 0, 0, 1},
    {kVendorId, 0x8003, 8, 0, 511, 0, 16, 10, 0, 0, 1},  {kVendorId, 0x8302, 8, 0, 511, 0, 4, 3, 0, 0, 1},
    {kVendorId, 0x8004, 8, 0, 511, 0, 5, 4, 0, 0, 0},    {kVendorId, 0x8005, 8, 0, 511, 0, 6, 5, 0, 0, 0},
    {kVendorId, 0x8006, 8, 0, 511, 0, 8, 6, 0, 0, 0},    {kVendorId, 0x8007, 8, 0, 511, 0, 11, 7, 0, 0, 0},
    {kVendorId, 0x8008, 8, 0, 511, 0, 16, 10, 0, 0, 0},  {kVendorId, 0x8009, 8, 0, 511, 0, 4, 3, 0, 0, 0},
    {kVendorId, 0x800A, 8, 0, 511, 0, 5, 4, 0, 0, 0},    {kVendorId, 0x800B, 8, 0, 511, 0, 6, 5, 0, 0, 0},
    {kVendorId, 0x800C, 8, 0, 511, 0, 8, 6, 0, 0, 0},    {kVendorId, 0x800D, 8, 0, 511, 0, 11, 7, 0, 0, 0},
    {kVendorId, 0x8102, 8, 0, 1023, 0, 16, 10, 0, 0, 0}, {kVendorId, 0x8103, 8, 0, 1023, 0, 4, 3, 0, 0, 0},
    {kVendorId, 0x8104, 8, 0, 1023, 0, 5, 4, 0, 0, 0},   {kVendorId, 0x8105, 8, 0, 1023, 0, 6, 5, 0, 0, 0},
    {kVendorId, 0x8401, 10, 0, 1023, 1, 8, 6, 0, 0, 0},  {kVendorId, 0x8402, 10, 0, 1023, 1, 11, 7, 0, 0, 0},
    {kVendorId, 0x7001, 8, 0, 511, 0, 16, 10, 0, 0, 0},  {kVendorId, 0x7002, 8, 0, 511, 0, 4, 3, 0, 0, 0},
    {kVendorId, 0x7001, 10, 0, 511, 1, 5, 4, 0, 0, 0},   {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

const DeviceRow* FindDeviceRow(uint16_t vendorId, uint16_t productId, uint16_t reportLength) {
    for (const DeviceRow* row = DeviceTable; row->VendorId != 0; ++row) {
        if (row->VendorId == vendorId && row->ProductId == productId && row->ReportLength == reportLength) return row;
    }
    return nullptr;
}

const TabletModel* FindFirstModelRow(uint16_t vendorId, uint16_t productId) {
    for (const TabletModel* row = TabletModelTable; row->VendorId != 0; ++row) {
        if (row->VendorId == vendorId && row->ProductId == productId) return row;
    }
    return nullptr;
}

const TabletModel* FindModelRow(uint16_t vendorId, uint16_t productId, uint16_t penReportLength) {
    for (const TabletModel* row = TabletModelTable; row->VendorId != 0; ++row) {
        if (row->VendorId == vendorId && row->ProductId == productId && row->PenReportLength == penReportLength)
            return row;
    }
    return nullptr;
}

}  // namespace pz
