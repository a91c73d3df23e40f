// The service's settings link on real kernel objects: the block another process opens by name, the
// settings file loaded into it, and the failures that stop the service.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "object_names.h"
#include "records.h"
#include "settings_link.h"

namespace {

std::string TempPath(const char* name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name + std::to_string(GetCurrentProcessId());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::vector<uint8_t> FileOf(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

// What a settings or tray program sees when it opens the block by name.
struct OpenedBlock {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, pz::kControlPanelBlockName);
    const pz::ControlPanelBlock* block =
        mapping ? static_cast<const pz::ControlPanelBlock*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : nullptr;
    ~OpenedBlock() {
        if (block) UnmapViewOfFile(block);
        if (mapping) CloseHandle(mapping);
    }
};

class SettingsLink : public ::testing::Test {
  protected:
    void TearDown() override {
        pz::CloseSettingsLink();
        DeleteFileA(path.c_str());
    }
    std::string path = TempPath("PzTabletCfg");
};

TEST_F(SettingsLink, LoadsExactlyTheSixFieldsOfASixteenByteFile) {
    WriteFileBytes(path, FileOf({100, 7, 0xBEEF, 0xCAFE, 1000, 1100, 9000, 7000}));
    ASSERT_TRUE(pz::OpenSettingsLinkFrom(path.c_str()));
    ASSERT_NE(pz::SettingsView(), nullptr);

    OpenedBlock other;
    ASSERT_NE(other.block, nullptr);
    EXPECT_EQ(other.block->ServerProcessId, GetCurrentProcessId());
    EXPECT_NE(other.block->ServerMappingHandle, 0u);
    const pz::SettingsRecord& r = other.block->Record;
    EXPECT_EQ(r.PressureLevel, 100);
    EXPECT_EQ(r.Reserved10, 7);
    EXPECT_EQ(r.PositionWindow, 0u);  // file bytes 4..7 never reach it
    EXPECT_EQ(r.AreaLeft, 1000);
    EXPECT_EQ(r.AreaTop, 1100);
    EXPECT_EQ(r.AreaRight, 9000);
    EXPECT_EQ(r.AreaBottom, 7000);
    // Everything after the six fields is zero.
    const auto* bytes = reinterpret_cast<const uint8_t*>(other.block);
    for (size_t i = 8 + offsetof(pz::SettingsRecord, ShowTrayIcon); i < pz::kControlPanelBlockSize; ++i)
        ASSERT_EQ(bytes[i], 0) << "block offset " << i;
}

TEST_F(SettingsLink, WritesOfAnotherProcessAreSeenThroughTheView) {
    WriteFileBytes(path, FileOf({100, 0, 0, 0, 0, 0, 10206, 7422}));
    ASSERT_TRUE(pz::OpenSettingsLinkFrom(path.c_str()));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, pz::kControlPanelBlockName);
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<pz::ControlPanelBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(block, nullptr);
    block->Record.AreaRight = 5000;
    EXPECT_EQ(pz::SettingsView()->Record.AreaRight, 5000);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

TEST_F(SettingsLink, AMissingFileFailsButTheBlockStaysUntilClosed) {
    EXPECT_FALSE(pz::OpenSettingsLinkFrom(path.c_str()));
    {
        OpenedBlock other;
        EXPECT_NE(other.block, nullptr);
    }
    pz::CloseSettingsLink();
    EXPECT_EQ(pz::SettingsView(), nullptr);
    OpenedBlock gone;
    EXPECT_EQ(gone.mapping, nullptr);
}

TEST_F(SettingsLink, AFileLockedByAnotherWriterFails) {
    WriteFileBytes(path, FileOf({100, 0, 0, 0, 0, 0, 10206, 7422}));
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(pz::OpenSettingsLinkFrom(path.c_str()));
    CloseHandle(locked);
    EXPECT_TRUE(pz::OpenSettingsLinkFrom(path.c_str()));
}

TEST_F(SettingsLink, AShortFileKeepsTheDefaultsOfWhatItLacks) {
    WriteFileBytes(path, FileOf({60, 0, 0, 0, 500, 600}));
    ASSERT_TRUE(pz::OpenSettingsLinkFrom(path.c_str()));
    const pz::SettingsRecord& r = pz::SettingsView()->Record;
    EXPECT_EQ(r.PressureLevel, 60);
    EXPECT_EQ(r.AreaTop, 600);
    EXPECT_EQ(r.AreaRight, 10206);
    EXPECT_EQ(r.AreaBottom, 7422);
}

// The service's own entry point reads the file of the system directory.
TEST(SettingsLinkSystemFile, OpenSettingsLinkReadsTheSystemDirectoryFile) {
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    const std::string path = std::string(directory) + pz::kSettingsFileName;
    const std::string saved = path + ".saved" + std::to_string(GetCurrentProcessId());
    const bool hadFile = MoveFileA(path.c_str(), saved.c_str()) != 0;

    EXPECT_FALSE(pz::OpenSettingsLink());
    pz::CloseSettingsLink();
    WriteFileBytes(path, FileOf({120, 0, 0, 0, 11, 12, 13, 14}));
    EXPECT_TRUE(pz::OpenSettingsLink());
    EXPECT_EQ(pz::SettingsView()->Record.PressureLevel, 120);
    EXPECT_EQ(pz::SettingsView()->Record.AreaBottom, 14);
    pz::CloseSettingsLink();

    DeleteFileA(path.c_str());
    if (hadFile) MoveFileA(saved.c_str(), path.c_str());
}

}  // namespace
