#include <gtest/gtest.h>

#include "pointer_target.h"

namespace {

using ktpen::PointerEvent;

constexpr uint32_t kMove = 0xC001;  // absolute move over the virtual desktop, as the service sends it
constexpr uint32_t kLeftDown = 0xC002;
constexpr uint32_t kRightDown = 0x4008;
constexpr uint32_t kRightUpAbsolute = 0xC010;

pz::SettingsRecord MonitorTwo(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    pz::SettingsRecord record{};
    record.Mapping.SelectedMonitor = 2;
    record.Mapping.ScreenArea[0] = left;
    record.Mapping.ScreenArea[1] = top;
    record.Mapping.ScreenArea[2] = right;
    record.Mapping.ScreenArea[3] = bottom;
    return record;
}

TEST(PointerTarget, WithoutSettingsOrWithTheWholeDesktopNothingChanges) {
    pz::SettingsRecord wholeDesktop{};
    wholeDesktop.Mapping.ScreenArea[2] = 30000;  // ignored while no monitor or part is chosen
    wholeDesktop.Mapping.ScreenArea[3] = 30000;
    const pz::SettingsRecord* none = nullptr;
    for (const pz::SettingsRecord* settings : {none, static_cast<const pz::SettingsRecord*>(&wholeDesktop)}) {
        PointerEvent event{kMove, 65535, 12345, 0};
        EXPECT_TRUE(ktpen::ApplyPointerTarget(settings, event));
        EXPECT_EQ(event.flags, kMove);
        EXPECT_EQ(event.dx, 65535);
        EXPECT_EQ(event.dy, 12345);
    }
}

struct ConfineCase {
    int32_t dx, dy;
    int32_t expectedX, expectedY;
};

class Confinement : public ::testing::TestWithParam<ConfineCase> {};

// The right half of the desktop, the top two thirds: corners land on its corners, the middle in its middle.
TEST_P(Confinement, MapsTheDesktopOntoTheChosenArea) {
    const pz::SettingsRecord record = MonitorTwo(32768, 0, 65535, 43690);
    PointerEvent event{kLeftDown | kMove, GetParam().dx, GetParam().dy, 0};
    ASSERT_TRUE(ktpen::ApplyPointerTarget(&record, event));
    EXPECT_EQ(event.dx, GetParam().expectedX);
    EXPECT_EQ(event.dy, GetParam().expectedY);
}

INSTANTIATE_TEST_SUITE_P(Points, Confinement,
                         ::testing::Values(ConfineCase{0, 0, 32768, 0}, ConfineCase{65535, 65535, 65535, 43690},
                                           ConfineCase{32767, 32767, 49151, 21844},
                                           ConfineCase{-5, 70000, 32768, 43690}));  // clamped first

TEST(PointerTarget, PartOfTheWholeDesktopAlsoConfines) {
    pz::SettingsRecord record = MonitorTwo(0, 0, 32767, 32767);
    record.Mapping.SelectedMonitor = 0;
    record.Mapping.AreaMode = 1;
    PointerEvent event{kMove, 65535, 65535, 0};
    ASSERT_TRUE(ktpen::ApplyPointerTarget(&record, event));
    EXPECT_EQ(event.dx, 32767);
    EXPECT_EQ(event.dy, 32767);
}

TEST(PointerTarget, AnUnusableAreaLeavesTheWholeDesktop) {
    for (const pz::SettingsRecord& record : {MonitorTwo(0, 0, 0, 0), MonitorTwo(40000, 0, 30000, 65535),
                                             MonitorTwo(-1, 0, 30000, 65535), MonitorTwo(0, 0, 65536, 65535)}) {
        PointerEvent event{kMove, 1000, 2000, 0};
        ASSERT_TRUE(ktpen::ApplyPointerTarget(&record, event));
        EXPECT_EQ(event.dx, 1000);
        EXPECT_EQ(event.dy, 2000);
    }
}

TEST(PointerTarget, RelativeButtonEventsAreNotMoved) {
    const pz::SettingsRecord record = MonitorTwo(32768, 0, 65535, 43690);
    PointerEvent event{kRightDown, 0, 0, 0};
    ASSERT_TRUE(ktpen::ApplyPointerTarget(&record, event));
    EXPECT_EQ(event.dx, 0);
    EXPECT_EQ(event.dy, 0);
}

TEST(PointerTarget, TheRightKeySwitchDropsRightButtonEventsOnly) {
    pz::SettingsRecord record{};
    record.DisableRightKey = 1;
    for (uint32_t flags : {kRightDown, kRightUpAbsolute}) {
        PointerEvent event{flags, 0, 0, 0};
        EXPECT_FALSE(ktpen::ApplyPointerTarget(&record, event)) << std::hex << flags;
    }
    PointerEvent move{kMove | 0x0010, 100, 100, 0};  // a move that carries a release keeps the move
    EXPECT_TRUE(ktpen::ApplyPointerTarget(&record, move));
    EXPECT_EQ(move.flags, kMove);
    PointerEvent left{kLeftDown, 100, 100, 0};
    EXPECT_TRUE(ktpen::ApplyPointerTarget(&record, left));
    EXPECT_EQ(left.flags, kLeftDown);
    record.DisableRightKey = 2;  // only 1 switches the key off
    PointerEvent right{kRightDown, 0, 0, 0};
    EXPECT_TRUE(ktpen::ApplyPointerTarget(&record, right));
}

}  // namespace
