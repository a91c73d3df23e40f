#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "key_file.h"

namespace {

using pz::KeySetRecord;

// A key file whose record bytes count up, so any misplaced copy shows.
std::vector<uint8_t> PatternFile(size_t size) {
    std::vector<uint8_t> file(size);
    for (size_t i = 0; i < size; ++i) file[i] = static_cast<uint8_t>(i * 7 + 1);
    return file;
}

KeySetRecord Zeroed() {
    KeySetRecord record;
    std::memset(&record, 0, sizeof record);
    return record;
}

void ExpectDefaults(const KeySetRecord& record) {
    const uint8_t expected[4] = {0x11, 0x12, 0x10, 0x20};
    for (int key = 0; key < 4; ++key) {
        EXPECT_EQ(record.Groups[0].Actions[key].Bytes[0], expected[key]) << "key " << key + 1;
        EXPECT_EQ(record.Groups[0].Actions[key].Bytes[1], 0);
        EXPECT_EQ(record.Groups[0].Actions[key].Bytes[3], 0);
    }
    EXPECT_EQ(record.Groups[1].Actions[0].Bytes[0], 0);
    EXPECT_EQ(record.Groups[0].Launch[0].Path[0], 0);
}

TEST(KeyFile, TooShortFilesGiveTheDefaults) {
    for (size_t size : {size_t{0}, size_t{4}, size_t{1559}}) {
        const auto file = PatternFile(size);
        KeySetRecord record;
        std::memset(&record, 0xAA, sizeof record);
        EXPECT_FALSE(pz::LoadKeyFile(file.data(), file.size(), record)) << size;
        ExpectDefaults(record);
        EXPECT_EQ(record.Groups[1].ScrollDisabled, 0) << "defaults clear everything else";
    }
}

TEST(KeyFile, GroupOneAloneLoadsGroupOneAndLeavesGroupTwo) {
    const auto file = PatternFile(1560);
    KeySetRecord record = Zeroed();
    ASSERT_TRUE(pz::LoadKeyFile(file.data(), file.size(), record));
    EXPECT_EQ(0, std::memcmp(&record.Groups[0], file.data() + 4, 1556));
    const pz::KeyGroup zero{};
    EXPECT_EQ(0, std::memcmp(&record.Groups[1], &zero, sizeof zero));
}

TEST(KeyFile, FullAndLongerFilesLoadBothGroupsFromOffsetFour) {
    for (size_t size : {size_t{3116}, size_t{3117}, size_t{5000}}) {
        const auto file = PatternFile(size);
        KeySetRecord record = Zeroed();
        ASSERT_TRUE(pz::LoadKeyFile(file.data(), file.size(), record));
        EXPECT_EQ(0, std::memcmp(&record, file.data() + 4, sizeof record)) << size;
    }
}

TEST(KeyFile, PartialSecondGroupLoadsTheBytesRead) {
    for (size_t size : {size_t{2000}, size_t{3115}}) {  // 3115: one byte short of the whole record
        const auto file = PatternFile(size);
        KeySetRecord record = Zeroed();
        ASSERT_TRUE(pz::LoadKeyFile(file.data(), file.size(), record));
        const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
        EXPECT_EQ(0, std::memcmp(bytes, file.data() + 4, size - 4)) << size;
        EXPECT_EQ(bytes[size - 4], 0) << size;
    }
}

TEST(KeyFile, SaveWritesTheWholeRecordAndKeepsTheReservedBytes) {
    auto image = PatternFile(3116);
    KeySetRecord record = Zeroed();
    record.Groups[1].Actions[2].Bytes[0] = 0x41;
    pz::StoreKeyFile(record, image);
    ASSERT_EQ(image.size(), 3116u);
    EXPECT_EQ(image[0], 1);
    EXPECT_EQ(image[3], static_cast<uint8_t>(3 * 7 + 1));
    EXPECT_EQ(0, std::memcmp(image.data() + 4, &record, sizeof record));
}

TEST(KeyFile, DefaultFileLoadsBackAsTheDefaults) {
    const auto image = pz::DefaultKeyFile();
    ASSERT_EQ(image.size(), 3116u);
    EXPECT_EQ(image[0] | image[1] | image[2] | image[3], 0);
    KeySetRecord record = Zeroed();
    ASSERT_TRUE(pz::LoadKeyFile(image.data(), image.size(), record));
    ExpectDefaults(record);
}

}  // namespace
