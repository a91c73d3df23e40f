#include <gtest/gtest.h>

#include "opened_tablet.h"
#include "tablet_tables.h"

namespace {

struct OpenedCase {
    uint16_t productId;
    uint16_t reportLength;
    uint16_t hasKeypad;
    uint16_t hasTilt;
    uint16_t widthInches;
    uint16_t heightInches;
};

class OpenedTablet : public ::testing::TestWithParam<OpenedCase> {};

TEST_P(OpenedTablet, FillsTheFlagsAndTheTailFromTheRowInUse) {
    const OpenedCase& c = GetParam();
    pz::ControlPanelBlock block{};
    block.Record.PositionWindow = 0x1234;  // what the settings program wrote stays
    block.Record.HasKeypad = 7;            // a stale value from an earlier tablet goes
    pz::DescribeOpenedTablet(block, pz::kVendorId, c.productId, c.reportLength);
    EXPECT_EQ(block.Record.HasKeypad, c.hasKeypad);
    EXPECT_EQ(block.Record.HasTilt, c.hasTilt);
    EXPECT_EQ(block.Tablet.ProductId, c.productId);
    EXPECT_EQ(block.Tablet.WidthInches, c.widthInches);
    EXPECT_EQ(block.Tablet.HeightInches, c.heightInches);
    EXPECT_EQ(block.Record.PositionWindow, 0x1234u);
    EXPECT_EQ(block.Record.AreaLeft, 0);  // the active area keeps its meaning
}

INSTANTIATE_TEST_SUITE_P(Rows, OpenedTablet,
                         ::testing::Values(OpenedCase{0x8201, 8, 1, 0, 5, 4},    // keys, no tilt
                                           OpenedCase{0x8201, 10, 1, 1, 5, 4},   // keys and tilt
                                           OpenedCase{0x8208, 8, 0, 0, 6, 5},    // keys only in the tilt row
                                           OpenedCase{0x8208, 10, 1, 1, 6, 5},   //
                                           OpenedCase{0x8501, 10, 1, 1, 11, 7},  // the eight-key model
                                           OpenedCase{0x8001, 8, 0, 0, 8, 6},    // pressure 511, no keys
                                           OpenedCase{0x8001, 10, 0, 1, 8, 6},   // no tilt row: first row
                                           OpenedCase{0x1234, 8, 0, 0, 0, 0}));  // unknown: no keys, no size

}  // namespace
