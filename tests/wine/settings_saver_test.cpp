// Saving the settings block: the save event under either name makes the saver write the whole image,
// which the next start loads back; the file is replaced whole or not at all.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "atomic_file_write.h"
#include "object_names.h"
#include "settings_file.h"
#include "settings_link.h"
#include "settings_saver.h"

namespace {

std::string TempPath(const char* name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name + std::to_string(GetCurrentProcessId());
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

pz::ControlPanelBlock UserBlock() {
    pz::ControlPanelBlock block;
    std::memset(&block, 0, sizeof block);
    block.Record.PressureLevel = 150;
    block.Record.AreaRight = 8000;
    block.Record.AreaBottom = 6000;
    block.Record.PositionWindow = 0x20046;
    block.Record.ManualAreaWindow = 0x20046;
    block.Record.ShowTrayIcon = 1;
    block.Record.DisableRightKey = 1;
    block.Record.HasTilt = 1;
    block.Record.ScreenRight = 1280;
    block.Record.DesktopRight = 2560;
    block.Record.Mapping.MonitorCount = 2;
    block.Record.Mapping.SelectedMonitor = 2;
    block.Record.Mapping.ScreenArea[2] = 65535;
    return block;
}

std::string Image(const pz::ControlPanelBlock& block) {
    uint8_t image[pz::kSettingsFileSize];
    pz::EncodeSettingsFile(block, image);
    return std::string(reinterpret_cast<char*>(image), sizeof image);
}

class SettingsSaverTest : public ::testing::TestWithParam<const char*> {
  protected:
    void TearDown() override {
        saver.Close();
        pz::CloseSettingsLink();
        DeleteFileA(path.c_str());
    }
    std::string path = TempPath("PzSaverCfg");
    pz::ControlPanelBlock block = UserBlock();
    pz::SettingsSaver saver;
};

// The settings program's side: open the event by name and set it.
void SignalSave(const char* name) {
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    ASSERT_NE(event, nullptr) << name;
    SetEvent(event);
    CloseHandle(event);
}

TEST_P(SettingsSaverTest, EitherEventWakesTheWaitAndWritesTheWholeImage) {
    ASSERT_TRUE(saver.Open(&block, path));
    ASSERT_EQ(saver.HandleCount(), 2u);
    SignalSave(GetParam());

    const DWORD woke = WaitForMultipleObjects(saver.HandleCount(), saver.Handles(), FALSE, 5000);
    ASSERT_LT(woke - WAIT_OBJECT_0, saver.HandleCount());
    HANDLE signalled = saver.Handles()[woke - WAIT_OBJECT_0];
    ASSERT_TRUE(saver.OnSignalled(signalled));
    EXPECT_EQ(Contents(path), Image(block));
    EXPECT_EQ(WaitForSingleObject(signalled, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the event is reset";
    EXPECT_FALSE(Exists(path + ".new"));
}

INSTANTIATE_TEST_SUITE_P(EventNames, SettingsSaverTest,
                         ::testing::Values(pz::kSaveSettingsEventName, pz::kSaveSettingsEventGlobalName));

TEST(SettingsSaver, TheNextStartRestoresTheUserChoicesButNoWindow) {
    const std::string path = TempPath("PzRoundTripCfg");
    const pz::ControlPanelBlock saved = UserBlock();
    pz::SettingsSaver saver;
    ASSERT_TRUE(saver.Open(&saved, path));
    ASSERT_TRUE(saver.OnSignalled(saver.Handles()[0]));
    saver.Close();

    ASSERT_TRUE(pz::OpenSettingsLinkFrom(path.c_str()));
    const pz::SettingsRecord& r = pz::SettingsView()->Record;
    EXPECT_EQ(r.PressureLevel, 150);
    EXPECT_EQ(r.AreaRight, 8000);
    EXPECT_EQ(r.ShowTrayIcon, 1);
    EXPECT_EQ(r.DisableRightKey, 1);
    EXPECT_EQ(r.ScreenRight, 1280);
    EXPECT_EQ(r.DesktopRight, 2560);
    EXPECT_EQ(r.Mapping.SelectedMonitor, 2);
    EXPECT_EQ(r.Mapping.ScreenArea[2], 65535);
    EXPECT_EQ(r.PositionWindow, 0u);
    EXPECT_EQ(r.ManualAreaWindow, 0u);
    EXPECT_EQ(r.HasTilt, 0);
    pz::CloseSettingsLink();
    DeleteFileA(path.c_str());
}

TEST(SettingsSaver, AForeignHandleWritesNothing) {
    const std::string path = TempPath("PzForeignCfg");
    const pz::ControlPanelBlock block = UserBlock();
    pz::SettingsSaver saver;
    ASSERT_TRUE(saver.Open(&block, path));
    HANDLE other = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_FALSE(saver.OnSignalled(other));
    EXPECT_FALSE(Exists(path));
    CloseHandle(other);
}

TEST(AtomicFileWrite, AFailedReplaceKeepsTheOldFileAndNoTemporary) {
    const std::string path = TempPath("PzAtomicLocked");
    ASSERT_TRUE(pz::ReplaceFileAtomically(path.c_str(), "old", 3));
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(pz::ReplaceFileAtomically(path.c_str(), "new contents", 12));
    CloseHandle(holder);
    EXPECT_EQ(Contents(path), "old");
    EXPECT_FALSE(Exists(path + ".new"));
    DeleteFileA(path.c_str());
}

const std::string kImageA(136, 'a'), kImageB(136, 'b');

// Child: replaces the file with alternating images until it is killed.
int RunWriter(const char* path) {
    for (int i = 0;; ++i) pz::ReplaceFileAtomically(path, (i % 2 ? kImageA : kImageB).data(), 136);
}

// A writer killed at any moment leaves one image whole behind, never an empty or partial file.
TEST(AtomicFileWrite, AWriterKilledMidwayLeavesAWholeFile) {
    const std::string path = TempPath("PzAtomicKill");
    ASSERT_TRUE(pz::ReplaceFileAtomically(path.c_str(), kImageA.data(), 136));
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    for (int round = 0; round < 10; ++round) {
        std::string command = std::string("\"") + exe + "\" --writer " + path;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(
            CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        Sleep(150 + 13 * round);  // the child is writing by now, at a different point each round
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        const std::string seen = Contents(path);
        ASSERT_TRUE(seen == kImageA || seen == kImageB) << "round " << round << ": " << seen.size() << " bytes";
    }
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".new").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--writer") == 0) return RunWriter(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
