#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings_file.h"

namespace {

using pz::SettingsRecord;

std::vector<uint8_t> FileOf(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

SettingsRecord Blank() {
    SettingsRecord record;
    std::memset(&record, 0, sizeof record);
    return record;
}

TEST(SettingsFile, SixteenBytesLoadTheSixFieldsAndNeverThePositionWindow) {
    const auto file = FileOf({100, 7, 0xBEEF, 0xCAFE, 1000, 1100, 9000, 7000});
    SettingsRecord record = Blank();
    record.PositionWindow = 0x1234;
    ASSERT_EQ(pz::LoadSettingsFileCore(file.data(), file.size(), record), 6);
    EXPECT_EQ(record.PressureLevel, 100);
    EXPECT_EQ(record.Reserved10, 7);
    EXPECT_EQ(record.PositionWindow, 0x1234u);
    EXPECT_EQ(record.AreaLeft, 1000);
    EXPECT_EQ(record.AreaTop, 1100);
    EXPECT_EQ(record.AreaRight, 9000);
    EXPECT_EQ(record.AreaBottom, 7000);
    // Nothing past the six fields is touched by the 16-byte load.
    SettingsRecord untouched = Blank();
    untouched.PositionWindow = 0x1234;
    EXPECT_EQ(0, std::memcmp(&record.ShowTrayIcon, &untouched.ShowTrayIcon,
                             sizeof record - offsetof(SettingsRecord, ShowTrayIcon)));
}

TEST(SettingsFile, BytesAfterTheFirstSixteenAreIgnoredByTheCoreLoad) {
    auto file = FileOf({150, 0, 0, 0, 1, 2, 3, 4});
    file.resize(40, 0xFF);
    SettingsRecord record = Blank();
    EXPECT_EQ(pz::LoadSettingsFileCore(file.data(), file.size(), record), 6);
    EXPECT_EQ(record.PressureLevel, 150);
    EXPECT_EQ(record.ShowTrayIcon, 0);
}

struct ShortFileCase {
    size_t size;
    int fieldsLoaded;
    uint16_t pressure, left, top, right, bottom;
};

class ShortSettingsFile : public ::testing::TestWithParam<ShortFileCase> {};

// A truncated file loads each field it holds whole; the others take linear pressure and the whole tablet.
TEST_P(ShortSettingsFile, LoadsWhatItCoversAndDefaultsTheRest) {
    const ShortFileCase c = GetParam();
    const auto full = FileOf({60, 9, 0, 0, 500, 600, 700, 800});
    SettingsRecord record = Blank();
    EXPECT_EQ(pz::LoadSettingsFileCore(full.data(), c.size, record), c.fieldsLoaded);
    EXPECT_EQ(record.PressureLevel, c.pressure);
    EXPECT_EQ(record.AreaLeft, c.left);
    EXPECT_EQ(record.AreaTop, c.top);
    EXPECT_EQ(record.AreaRight, c.right);
    EXPECT_EQ(record.AreaBottom, c.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ShortSettingsFile,
    ::testing::Values(ShortFileCase{0, 0, 100, 0, 0, 10206, 7422}, ShortFileCase{1, 0, 100, 0, 0, 10206, 7422},
                      ShortFileCase{2, 1, 60, 0, 0, 10206, 7422}, ShortFileCase{8, 2, 60, 0, 0, 10206, 7422},
                      ShortFileCase{9, 2, 60, 0, 0, 10206, 7422}, ShortFileCase{12, 4, 60, 500, 600, 10206, 7422},
                      ShortFileCase{15, 5, 60, 500, 600, 700, 7422}));

TEST(SettingsFile, NoBytesAtAllGiveTheDefaults) {
    SettingsRecord record = Blank();
    EXPECT_EQ(pz::LoadSettingsFileCore(nullptr, 16, record), 0);
    EXPECT_EQ(record.PressureLevel, 100);
    EXPECT_EQ(record.AreaRight, 10206);
}

}  // namespace
