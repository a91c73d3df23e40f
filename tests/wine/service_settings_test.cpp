// The settings link of the running service, seen from another process: the block it fills, the file it
// loads and writes, and the pointer library's use of the user's mapping choices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "object_names.h"
#include "records.h"
#include "sim_tablet_harness.h"

namespace {

using simtest::Child;
using simtest::Report8;

constexpr unsigned kHover = 0x90;
constexpr unsigned kTiltProduct = 0x8201;  // keys, 5 x 4 inches, 8- and 10-byte rows

std::string SettingsPath() {
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\PzTablet.cfg";
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const std::string& path, const void* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(static_cast<const char*>(data), size);
}

// The block the service created, mapped into this process while the object lives.
class BlockView {
  public:
    BlockView() {
        for (int i = 0; i < 100 && mapping_ == nullptr; ++i, Sleep(50))
            mapping_ = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, pz::kControlPanelBlockName);
        if (mapping_ != nullptr) view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    }
    ~BlockView() {
        if (view_ != nullptr) UnmapViewOfFile(view_);
        if (mapping_ != nullptr) CloseHandle(mapping_);
    }
    pz::ControlPanelBlock* operator->() const { return static_cast<pz::ControlPanelBlock*>(view_); }
    explicit operator bool() const { return view_ != nullptr; }

  private:
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};

// Every test starts from the standard settings file and leaves it behind for the other tests.
class ServiceSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        original_ = ReadFileBytes(SettingsPath());
        WriteStandardFile();
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        service_.reset();
        device_.reset();
        if (original_.empty())
            WriteStandardFile();
        else
            WriteFileBytes(SettingsPath(), original_.data(), original_.size());
    }
    static void WriteStandardFile() {
        const uint16_t image[8] = {100, 0, 0, 0, 0, 0, 10206, 7422};
        WriteFileBytes(SettingsPath(), image, sizeof image);
    }
    void StartService() {
        service_ = std::make_unique<Child>("\"" + simtest::ProgramPath("ktpen-sim.exe") + "\" -d");
        ASSERT_TRUE(service_->Started());
    }

    std::vector<uint8_t> original_;
    std::unique_ptr<Child> device_;
    std::unique_ptr<Child> service_;
};

TEST_F(ServiceSettings, ATiltTabletPublishesItsPropertiesInTheBlock) {
    simtest::MouseRecorder recorder;
    simtest::DeviceSpec tablet;
    tablet.productId = kTiltProduct;
    tablet.reportLength = 10;
    device_.reset(simtest::StartDevice(tablet, "02 90 10 00 10 00 00 20 40 00\nwait 3000\n"));
    StartService();
    BlockView block;
    ASSERT_TRUE(block);
    ASSERT_TRUE(recorder.WaitFor(WM_MOUSEMOVE, 10000)) << "the tablet was not opened";

    EXPECT_EQ(block->Record.HasTilt, 1);
    EXPECT_EQ(block->Record.HasKeypad, 1);
    EXPECT_EQ(block->Tablet.ProductId, kTiltProduct);
    EXPECT_EQ(block->Tablet.WidthInches, 5);
    EXPECT_EQ(block->Tablet.HeightInches, 4);
    EXPECT_EQ(block->Record.AreaRight, 10206) << "the active area keeps the file's value";
}

TEST_F(ServiceSettings, AnAreaWrittenByAnotherProcessMovesTheVeryNextPointerEvent) {
    simtest::MouseRecorder recorder;
    simtest::DeviceSpec tablet;
    tablet.productId = kTiltProduct;
    std::string script;
    for (int i = 0; i < 4; ++i) script += Report8(kHover, 2380 + 40 * i, 3000, 0);
    for (int i = 0; i < 8; ++i) script += Report8(kHover, 2500, 3000, 0);  // the filter settles
    script += "wait 1500\n";
    for (int i = 0; i < 4; ++i) script += Report8(kHover, 2520, 3000, 0);
    device_.reset(simtest::StartDevice(tablet, script));
    StartService();
    BlockView block;
    ASSERT_TRUE(block);
    ASSERT_TRUE(recorder.WaitFor(WM_MOUSEMOVE, 10000));
    Sleep(300);  // the first strokes are through; the device now pauses
    const size_t before = recorder.Injected(WM_MOUSEMOVE).size();
    block->Record.AreaRight = 5103;  // the left half of the tablet now spans the whole desktop
    ASSERT_EQ(device_->Wait(20000), 0u);
    Sleep(200);

    const auto moves = recorder.Injected(WM_MOUSEMOVE);
    ASSERT_GT(moves.size(), before);
    const POINT expected = simtest::ExpectedPoint(5020, 3000);
    EXPECT_LE(std::abs(moves[before].point.x - expected.x), 6) << moves[before].point.x << " vs " << expected.x;
}

TEST_F(ServiceSettings, EitherSaveEventWritesTheWholeRecordAndTheNextStartRestoresIt) {
    StartService();
    auto block = std::make_unique<BlockView>();
    ASSERT_TRUE(*block);
    int pressure = 140;
    for (const char* name : {pz::kSaveSettingsEventName, pz::kSaveSettingsEventGlobalName}) {
        (*block)->Record.PressureLevel = static_cast<uint16_t>(++pressure);
        (*block)->Record.ShowTrayIcon = 1;
        (*block)->Record.PositionWindow = 0x1234;
        HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
        ASSERT_NE(event, nullptr) << name;
        SetEvent(event);
        CloseHandle(event);
        std::vector<uint8_t> image;
        for (int i = 0; i < 100 && (image.size() < 2 || image[0] != pressure); ++i, Sleep(50))
            image = ReadFileBytes(SettingsPath());
        ASSERT_EQ(image.size(), pz::kSettingsRecordImageSize) << name;
        EXPECT_EQ(image[0], pressure) << name;
    }

    block.reset();  // the block goes with the service only when nobody else holds it
    service_.reset();
    StartService();
    BlockView restarted;
    ASSERT_TRUE(restarted);
    for (int i = 0; i < 100 && restarted->Record.PressureLevel != pressure; ++i) Sleep(50);
    EXPECT_EQ(restarted->Record.PressureLevel, pressure);
    EXPECT_EQ(restarted->Record.ShowTrayIcon, 1);
    EXPECT_EQ(restarted->Record.PositionWindow, 0u) << "a window is never taken from the file";
}

TEST_F(ServiceSettings, WithoutTheSettingsFileTheServiceStopsRightAway) {
    DeleteFileA(SettingsPath().c_str());
    StartService();
    EXPECT_NE(service_->Wait(10000), static_cast<DWORD>(STILL_ACTIVE));
}

// The pointer library loaded into this process, with a settings block of this process.
class PointerLibrary : public ::testing::Test {
  protected:
    using MouseEventEx = void(__cdecl*)(DWORD, DWORD, DWORD, DWORD, DWORD, DWORD);

    void SetUp() override {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, pz::kControlPanelBlockSize,
                                      pz::kControlPanelBlockName);
        ASSERT_NE(mapping_, nullptr);
        block_ = static_cast<pz::ControlPanelBlock*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        ASSERT_NE(block_, nullptr);
        library_ = LoadLibraryA(simtest::ProgramPath("KTPEN.dll").c_str());
        ASSERT_NE(library_, nullptr);
        mouseEventEx_ =
            reinterpret_cast<MouseEventEx>(reinterpret_cast<void*>(GetProcAddress(library_, "mouse_eventEx")));
        ASSERT_NE(mouseEventEx_, nullptr);
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        if (library_ != nullptr) FreeLibrary(library_);
        if (block_ != nullptr) UnmapViewOfFile(block_);
        if (mapping_ != nullptr) CloseHandle(mapping_);
    }

    HANDLE mapping_ = nullptr;
    pz::ControlPanelBlock* block_ = nullptr;
    HMODULE library_ = nullptr;
    MouseEventEx mouseEventEx_ = nullptr;
};

TEST_F(PointerLibrary, ConfinesThePointerToTheChosenMonitorAndDropsRightClicksWhenAsked) {
    simtest::MouseRecorder recorder;
    block_->Record.Mapping.SelectedMonitor = 1;
    block_->Record.Mapping.ScreenArea[0] = 32768;  // the right half, top half of the desktop
    block_->Record.Mapping.ScreenArea[2] = 65535;
    block_->Record.Mapping.ScreenArea[3] = 32767;
    mouseEventEx_(0xC001, 65535, 65535, 0, 0, 0);  // bottom-right corner of the desktop
    mouseEventEx_(0xC001, 0, 0, 0, 0, 0);          // top-left corner
    block_->Record.DisableRightKey = 1;
    mouseEventEx_(0x4008, 0, 0, 0, 0, 0);
    mouseEventEx_(0x4010, 0, 0, 0, 0, 0);
    block_->Record.DisableRightKey = 0;
    mouseEventEx_(0x4008, 0, 0, 0, 0, 0);
    mouseEventEx_(0x4010, 0, 0, 0, 0, 0);
    ASSERT_TRUE(recorder.WaitFor(WM_RBUTTONUP, 3000));

    const auto moves = recorder.Injected(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 2u);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(moves[0].point.x, width - 1, 2);
    EXPECT_NEAR(moves[0].point.y, height / 2, 2);
    EXPECT_NEAR(moves[1].point.x, width / 2, 2);
    EXPECT_NEAR(moves[1].point.y, 0, 2);
    EXPECT_EQ(recorder.Injected(WM_RBUTTONDOWN).size(), 1u) << "only the press made while the key was on";
}

}  // namespace
