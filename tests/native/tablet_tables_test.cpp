#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "tablet_tables.h"

namespace {

using namespace pz;

TEST(TabletModelTable, HasSixtyFiveRowsThenTheTerminator) {
    for (size_t i = 0; i < kTabletModelRows; ++i) EXPECT_EQ(TabletModelTable[i].VendorId, kVendorId) << i;
    EXPECT_EQ(TabletModelTable[kTabletModelRows].VendorId, 0);
}

TEST(TabletModelTable, AcceptFlagCounts) {
    std::map<uint16_t, int> accepted, refused;
    int acceptedRows = 0, refusedRows = 0;
    for (size_t i = 0; i < kTabletModelRows; ++i) {
        const TabletModel& row = TabletModelTable[i];
        ASSERT_TRUE(row.Accepted == 0 || row.Accepted == 1);
        if (row.Accepted) {
            ++acceptedRows;
            ++accepted[row.ProductId];
        } else {
            ++refusedRows;
            ++refused[row.ProductId];
        }
    }
    EXPECT_EQ(acceptedRows, 46);
    EXPECT_EQ(accepted.size(), 25u);
    EXPECT_EQ(refusedRows, 19);
    EXPECT_EQ(refused.size(), 18u);
    for (const auto& [pid, count] : refused) EXPECT_EQ(accepted.count(pid), 0u) << "refused only: " << pid;
    EXPECT_EQ(accepted.count(kEightKeyProductId), 1u);
}

TEST(TabletModelTable, ColumnsHoldTheirValueSets) {
    const std::set<std::pair<int, int>> sizes = {{4, 3}, {5, 4}, {6, 5}, {8, 6}, {11, 7}, {16, 10}};
    for (size_t i = 0; i < kTabletModelRows; ++i) {
        const TabletModel& row = TabletModelTable[i];
        EXPECT_TRUE(row.PenReportLength == 8 || row.PenReportLength == 10) << i;
        EXPECT_TRUE(row.PressureMaximum == 511 || row.PressureMaximum == 1023) << i;
        EXPECT_EQ(sizes.count({row.WidthInches, row.HeightInches}), 1u) << i;
        EXPECT_TRUE(row.KeypadReportLength == 0 || row.KeypadReportLength == 5) << i;
        EXPECT_EQ(row.Zero6 | row.Zero16, 0) << i;
    }
}

TEST(TabletModelTable, EightModelsHaveKeysInTheirFirstRow) {
    std::set<uint16_t> seen, withKeys;
    for (size_t i = 0; i < kTabletModelRows; ++i) {
        const TabletModel& row = TabletModelTable[i];
        if (!seen.insert(row.ProductId).second) continue;
        if (row.KeypadReportLength != 0) withKeys.insert(row.ProductId);
    }
    EXPECT_EQ(withKeys.size(), 8u);
    EXPECT_EQ(withKeys.count(kEightKeyProductId), 1u);
    const TabletModel* first = FindFirstModelRow(kVendorId, kEightKeyProductId);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->KeypadReportLength, 5);
}

TEST(DeviceTable, HasSixtyOneRowsOfTheKindsTheServiceExpects) {
    std::map<std::tuple<int, int, int>, int> kinds;
    std::set<uint16_t> pids;
    std::set<std::tuple<int, int, int>> keys;
    for (size_t i = 0; i < kDeviceRows; ++i) {
        const DeviceRow& row = DeviceTable[i];
        EXPECT_EQ(row.VendorId, kVendorId) << i;
        EXPECT_EQ(row.Reserved, 0) << i;
        ++kinds[{row.ReportLength, row.PressureMaximum, row.OwnLeaveReport}];
        pids.insert(row.ProductId);
        EXPECT_TRUE(keys.insert({row.VendorId, row.ProductId, row.ReportLength}).second) << "duplicate key " << i;
    }
    EXPECT_EQ(DeviceTable[kDeviceRows].VendorId, 0);
    const std::map<std::tuple<int, int, int>, int> expected = {
        {{8, 511, 0}, 13}, {{8, 1023, 0}, 5}, {{8, 1023, 1}, 19}, {{8, 511, 1}, 2}, {{10, 1023, 1}, 22}};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(pids.size(), 41u);
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(DeviceTable[i].ReportLength, 8) << i;
        EXPECT_EQ(DeviceTable[i].PressureMaximum, 511) << i;
        EXPECT_EQ(DeviceTable[i].OwnLeaveReport, 0) << i;
    }
}

TEST(DeviceTable, TwentyProductsComeWithBothReportLengths) {
    std::map<uint16_t, std::set<int>> lengths;
    for (size_t i = 0; i < kDeviceRows; ++i) lengths[DeviceTable[i].ProductId].insert(DeviceTable[i].ReportLength);
    int both = 0;
    for (const auto& entry : lengths) both += entry.second.size() == 2;
    EXPECT_EQ(both, 20);
}

TEST(DeviceTable, LookupIsByTheWholeTriple) {
    const DeviceRow* eight = FindDeviceRow(kVendorId, kEightKeyProductId, 8);
    const DeviceRow* ten = FindDeviceRow(kVendorId, kEightKeyProductId, 10);
    ASSERT_NE(eight, nullptr);
    ASSERT_NE(ten, nullptr);
    EXPECT_NE(eight, ten);
    EXPECT_EQ(ten->ReportLength, 10);
    EXPECT_EQ(FindDeviceRow(kVendorId, kEightKeyProductId, 9), nullptr);
    EXPECT_EQ(FindDeviceRow(kVendorId + 1, kEightKeyProductId, 8), nullptr);
    EXPECT_EQ(FindDeviceRow(0, 0, 0), nullptr) << "the terminator is no device";
}

}  // namespace
