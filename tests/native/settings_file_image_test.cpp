#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "settings_file.h"

namespace {

using pz::ControlPanelBlock;
using pz::SettingsRecord;

// A block whose every record field holds a recognisable value.
ControlPanelBlock FilledBlock() {
    ControlPanelBlock block;
    std::memset(&block, 0, sizeof block);
    SettingsRecord& r = block.Record;
    r.PressureLevel = 48;
    r.Reserved10 = 3;
    r.PositionWindow = 0x10042;
    r.AreaLeft = 100;
    r.AreaTop = 200;
    r.AreaRight = 9000;
    r.AreaBottom = 7000;
    r.ShowTrayIcon = 1;
    r.DisableRightKey = 1;
    r.HasKeypad = 1;
    r.HasTilt = 1;
    r.ScreenLeft = -1280;
    r.ScreenRight = 0;
    r.ScreenTop = 0;
    r.ScreenBottom = 1024;
    r.DesktopLeft = -1280;
    r.DesktopRight = 1920;
    r.DesktopTop = -10;
    r.DesktopBottom = 1080;
    r.ManualAreaWindow = 0x10042;
    r.Mapping = {2, 1, 0, 1, 3200, 1090, 10, 20, 9000, 7000, {0, 0, 26214, 65535}, {100, 200, 20000, 60000}};
    block.Tablet = {0x8501, 9, 6, 0};
    return block;
}

std::vector<uint8_t> Encode(const ControlPanelBlock& block) {
    uint8_t image[pz::kSettingsFileSize];
    pz::EncodeSettingsFile(block, image);
    return std::vector<uint8_t>(image, image + sizeof image);
}

SettingsRecord Blank() {
    SettingsRecord record;
    std::memset(&record, 0, sizeof record);
    return record;
}

TEST(SettingsFileImage, StartsWithTheSixteenCoreBytesAndHoldsNoWindowHandles) {
    const auto image = Encode(FilledBlock());
    ASSERT_EQ(image.size(), 136u);
    const std::vector<uint8_t> core = {48, 0, 3, 0, 0, 0, 0, 0, 100, 0, 200, 0, 0x28, 0x23, 0x58, 0x1B};
    EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.begin() + 16), core);
    EXPECT_EQ(0, std::memcmp(&image[52], "\0\0\0\0", 4)) << "ManualAreaWindow";
    // The tablet properties close the image (record offsets 128..135).
    EXPECT_EQ(image[128], 0x01);
    EXPECT_EQ(image[129], 0x85);
    EXPECT_EQ(image[130], 9);
}

TEST(SettingsFileImage, AWholeImageRestoresTheUserChoicesOnly) {
    const ControlPanelBlock saved = FilledBlock();
    const auto image = Encode(saved);
    SettingsRecord loaded = Blank();
    loaded.PositionWindow = 0x777;
    loaded.ManualAreaWindow = 0x778;
    ASSERT_TRUE(pz::LoadSettingsFile(image.data(), image.size(), loaded));

    SettingsRecord expected = saved.Record;
    expected.PositionWindow = 0x777;  // the window fields keep what the running programs put there
    expected.ManualAreaWindow = 0x778;
    expected.HasKeypad = 0;  // the opened tablet sets these
    expected.HasTilt = 0;
    EXPECT_EQ(0, std::memcmp(&loaded, &expected, sizeof loaded));
}

TEST(SettingsFileImage, ALongerFileRestoresTheSameAsTheWholeImage) {
    auto image = Encode(FilledBlock());
    image.resize(400, 0xEE);
    SettingsRecord loaded = Blank();
    EXPECT_TRUE(pz::LoadSettingsFile(image.data(), image.size(), loaded));
    EXPECT_EQ(loaded.Mapping.ScreenArea[3], 60000);
    EXPECT_EQ(loaded.Unused40[0], 0);
}

class PartialSettingsFile : public ::testing::TestWithParam<size_t> {};

// Anything shorter than the whole image loads exactly as the 16-byte file does.
TEST_P(PartialSettingsFile, LoadsOnlyTheCore) {
    const auto image = Encode(FilledBlock());
    SettingsRecord loaded = Blank();
    EXPECT_FALSE(pz::LoadSettingsFile(image.data(), GetParam(), loaded));
    SettingsRecord core = Blank();
    pz::LoadSettingsFileCore(image.data(), GetParam(), core);
    EXPECT_EQ(0, std::memcmp(&loaded, &core, sizeof loaded));
    EXPECT_EQ(loaded.ShowTrayIcon, 0);
    EXPECT_EQ(loaded.Mapping.MonitorCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PartialSettingsFile, ::testing::Values(0, 10, 16, 20, 128, 135));

}  // namespace
