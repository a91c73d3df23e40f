// Packets packed to the program's lcPktData and lcPktMode, for 32- and 64-bit programs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "packet_format.h"
#include "wintab_constants.h"

namespace {

using namespace wintab;
using wt32::ApplyPacketMode;
using wt32::PacketSize;
using wt32::PackPacket;

PACKET Sample() {
    PACKET p{};
    p.pkContext = 1537;
    p.pkStatus = 0x10;
    p.pkTime = 5000;
    p.pkChanged = 0x780;
    p.pkSerialNumber = 41;
    p.pkCursor = 2;
    p.pkButtons = 1;
    p.pkX = 1234;
    p.pkY = 5678;
    p.pkZ = 0;
    p.pkNormalPressure = 777;
    p.pkOrientation = {100, -900, 0};
    return p;
}

std::vector<uint32_t> Words(const std::vector<uint8_t>& bytes) {
    std::vector<uint32_t> words(bytes.size() / 4);
    std::memcpy(words.data(), bytes.data(), words.size() * 4);
    return words;
}

struct SizeCase {
    uint32_t data;
    uint32_t handleSize;
    uint32_t size;
};

class Sizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(Sizes, FollowTheFieldsAndTheHandleWidth) {
    EXPECT_EQ(PacketSize(GetParam().data, GetParam().handleSize), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(PacketSizes, Sizes,
                         ::testing::Values(SizeCase{PK_X | PK_Y, 4, 8}, SizeCase{PK_X | PK_Y, 8, 8},
                                           SizeCase{0x3FFF, 4, 72},  // every field
                                           SizeCase{0x3FFF, 8, 80},  // 8-byte handle, 76 rounded to 80
                                           SizeCase{PK_CONTEXT | PK_X, 8, 16},
                                           SizeCase{PK_ORIENTATION | PK_NORMAL_PRESSURE, 4, 16}));

TEST(PacketFormat, KeepsOnlyTheRequestedFieldsInPacketOrder) {
    const uint32_t data = PK_X | PK_Y | PK_NORMAL_PRESSURE | PK_BUTTONS | PK_CURSOR | PK_TIME | PK_ORIENTATION;
    std::vector<uint8_t> out(PacketSize(data, 4));
    EXPECT_EQ(PackPacket(Sample(), 7, data, 4, out.data()), 36u);
    const std::vector<uint32_t> expected{5000, 2, 1, 1234, 5678, 777, 100, static_cast<uint32_t>(-900), 0};
    EXPECT_EQ(Words(out), expected);
}

TEST(PacketFormat, ContextHandleTakesThePointerWidth) {
    const uint32_t data = PK_CONTEXT | PK_SERIAL_NUMBER;
    std::vector<uint8_t> narrow(PacketSize(data, 4));
    PackPacket(Sample(), 0x1234, data, 4, narrow.data());
    EXPECT_EQ(Words(narrow), (std::vector<uint32_t>{0x1234, 41}));
    std::vector<uint8_t> wide(PacketSize(data, 8));
    PackPacket(Sample(), 0x1234, data, 8, wide.data());
    EXPECT_EQ(Words(wide), (std::vector<uint32_t>{0x1234, 0, 41, 0}));
}

TEST(PacketFormat, RelativeAxesAndPressureAreDifferences) {
    PACKET before = Sample();
    PACKET now = Sample();
    now.pkX = 1200;
    now.pkY = 5700;
    now.pkNormalPressure = 700;
    const PACKET relative = ApplyPacketMode(now, before, PK_X | PK_NORMAL_PRESSURE);
    EXPECT_EQ(relative.pkX, -34);
    EXPECT_EQ(relative.pkY, 5700);  // absolute: not in the mode
    EXPECT_EQ(static_cast<int32_t>(relative.pkNormalPressure), -77);
}

struct ButtonCase {
    uint32_t before;
    uint32_t now;
    uint32_t expected;
};

class RelativeButtons : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(RelativeButtons, ReportTheChange) {
    PACKET before = Sample();
    PACKET now = Sample();
    before.pkButtons = GetParam().before;
    now.pkButtons = GetParam().now;
    EXPECT_EQ(ApplyPacketMode(now, before, PK_BUTTONS).pkButtons, GetParam().expected);
    EXPECT_EQ(ApplyPacketMode(now, before, 0).pkButtons, GetParam().now);
}

INSTANTIATE_TEST_SUITE_P(PacketFormat, RelativeButtons,
                         ::testing::Values(ButtonCase{0, 1, wt32::TBN_DOWN << 16 | 0},
                                           ButtonCase{1, 0, wt32::TBN_UP << 16 | 0},
                                           ButtonCase{1, 3, wt32::TBN_DOWN << 16 | 1},
                                           ButtonCase{3, 3, wt32::TBN_NONE}));

}  // namespace
