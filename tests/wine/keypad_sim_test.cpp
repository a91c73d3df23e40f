// The key service over a simulated keypad: KtKey-sim.dll runs in this process, simhid.exe plays the
// keypad, and low-level hooks see the keys and mouse events it injects.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstring>
#include <functional>
#include <memory>

#include "key_file.h"
#include "key_test_support.h"
#include "object_names.h"

namespace {

using keytest::Code;
using keytest::Keys;
using keytest::Report;
using simtest::Child;
using Strokes = std::vector<std::string>;

std::vector<LPARAM> g_notifications;

LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == pz::kMsgKeyNotify) {
        g_notifications.push_back(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateNotifyWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NotifyWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KeypadSimNotify";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

DWORD ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        keytest::PumpMessages(20);
    }
    return true;
}

class KeypadSim : public ::testing::Test {
  protected:
    void SetUp() override {
        g_notifications.clear();
        library_ = std::make_unique<keytest::KeyLibrary>();
        ASSERT_TRUE(library_->Loaded());
        block_ = std::make_unique<keytest::KeySetBlockView>();
        keys_ = block_->record();
        if (keys_ != nullptr) pz::SetDefaultKeys(*keys_);
        window_ = CreateNotifyWindow();
    }

    void TearDown() override {
        StopService();
        library_->setAppWindow(nullptr);
        devices_.clear();
        block_.reset();
        library_.reset();
        if (window_ != nullptr) DestroyWindow(window_);
        keytest::ReleaseModifiers();
    }

    void Plug(const std::string& script, const simtest::DeviceSpec& spec = keytest::Keypad()) {
        devices_.emplace_back(keytest::PlugDevice(spec, script));
        ASSERT_TRUE(devices_.back()->Started());
    }
    void StartService() {
        quit_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = library_->startDevService(quit_);
        ASSERT_NE(thread_, nullptr);
    }
    void StopService() {
        if (thread_ == nullptr) return;
        SetEvent(quit_);
        EXPECT_EQ(WaitForSingleObject(thread_, 5000), WAIT_OBJECT_0) << "the device thread did not end";
        CloseHandle(thread_);
        CloseHandle(quit_);
        thread_ = nullptr;
    }
    // Plays `script` on the keypad with the service running and waits for its end.
    void PlayScript(const std::string& script) {
        Plug(script);
        StartService();
        WaitForDevice(0);
    }
    void WaitForDevice(size_t n, DWORD timeoutMs = 20000) {
        ASSERT_TRUE(WaitUntil([&] { return devices_[n]->Wait(0) != STILL_ACTIVE; }, timeoutMs))
            << "device " << n << " did not finish its script";
        keytest::PumpMessages(200);  // the last events reach the hooks and the window
    }

    keytest::KeyFileBackup backup_;  // no key file: the library starts from the defaults
    simtest::KeyRecorder keyRecorder_;
    simtest::MouseRecorder mouseRecorder_;
    std::unique_ptr<keytest::KeyLibrary> library_;
    std::unique_ptr<keytest::KeySetBlockView> block_;
    pz::KeySetRecord* keys_ = nullptr;
    std::vector<std::unique_ptr<Child>> devices_;
    HANDLE quit_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(KeypadSim, FirstKeyAfterOpeningPressesCtrlAndItsReleaseLiftsIt) {
    ASSERT_NE(keys_, nullptr);
    PlayScript(Report(0xA1) + Report(0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "-11"}));
}

TEST_F(KeypadSim, AKeyReplacedByAnotherIsNeitherReleasedNorPressed) {
    ASSERT_NE(keys_, nullptr);
    PlayScript(Report(0xA1) + Report(0xA2) + Report(0xA0));
    // Key 1 (Ctrl) pressed; key 2 (Alt) only released.
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "-12"}));
}

TEST_F(KeypadSim, CombinationsPressInOrderAndReleaseInReverse) {
    ASSERT_NE(keys_, nullptr);
    keys_->Groups[0].Actions[0] = Keys(0x11, 0x10, 0x53);  // Ctrl+Shift+S
    keys_->Groups[1].Actions[2] = Keys(0x41);              // group 2, key 3
    PlayScript(Report(0xA1) + Report(0xA0) + Report(0xA0, 0xA4) + Report(0xA0, 0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "+10", "+53", "-53", "-10", "-11", "+41", "-41"}));
}

TEST_F(KeypadSim, AReportWithoutTheGroupOneMarkerLeavesGroupOneAloneButIsRemembered) {
    ASSERT_NE(keys_, nullptr);
    // Key 1 goes down unseen; the report is still kept, so the next one releases key 1.
    PlayScript(keytest::RawReport(0x00, 0xA1, 0xAA, 0xA0) + Report(0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"-11"}));
}

TEST_F(KeypadSim, StripsScrollByTheirMovementUnlessDisabled) {
    ASSERT_NE(keys_, nullptr);
    keys_->Groups[1].ScrollDisabled = 1;
    // Both strips move alike: 3 then 5 (+240), lifted, put down at 5 (nothing), then 5 to 2 (-360).
    PlayScript(Report(3, 3) + Report(5, 5) + Report(0, 0) + Report(5, 5) + Report(2, 2));
    EXPECT_EQ(keytest::WheelDeltas(mouseRecorder_), (std::vector<int>{240, -360}));
}

TEST_F(KeypadSim, ButtonActionsPressAndReleaseTheirMouseButton) {
    ASSERT_NE(keys_, nullptr);
    keys_->Groups[0].Actions[0] = Code(1);
    keys_->Groups[0].Actions[1] = Code(2);
    keys_->Groups[1].Actions[3] = Code(3);
    PlayScript(Report(0xA1) + Report(0xA0) + Report(0xA2) + Report(0xA0) + Report(0xA0, 0xA8) + Report(0xA0, 0xA0));
    EXPECT_EQ(keytest::ButtonMessages(mouseRecorder_),
              (std::vector<WPARAM>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                   WM_RBUTTONUP}));
    EXPECT_TRUE(keytest::KeyStrokes(keyRecorder_).empty());
}

TEST_F(KeypadSim, ActionCodesFiveAndSixDoNothing) {
    ASSERT_NE(keys_, nullptr);
    library_->setAppWindow(window_);
    keys_->Groups[0].Actions[0] = Code(5);
    keys_->Groups[0].Actions[1] = Code(6);
    keys_->Groups[1].Actions[0] = Code(5);
    // Key 3 keeps Shift, to show that the keypad was read.
    PlayScript(Report(0xA1) + Report(0xA0) + Report(0xA2) + Report(0xA0) + Report(0xA0, 0xA1) + Report(0xA0) +
               Report(0xA4) + Report(0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+10", "-10"}));
    EXPECT_TRUE(keytest::ButtonMessages(mouseRecorder_).empty());
    EXPECT_TRUE(g_notifications.empty());
}

TEST_F(KeypadSim, NotifyKeysPostTheirNumberOnPressAndRelease) {
    ASSERT_NE(keys_, nullptr);
    library_->setAppWindow(window_);
    keys_->Groups[0].Actions[3] = Code(7);
    keys_->Groups[1].Actions[0] = Code(7);
    keys_->Groups[1].Actions[3] = Code(7);
    PlayScript(Report(0xA8) + Report(0xA0) + Report(0xA0, 0xA1) + Report(0xA0, 0xA0) + Report(0xA0, 0xA8) +
               Report(0xA0, 0xA0));
    EXPECT_EQ(g_notifications, (std::vector<LPARAM>{4, 4, 17, 17, 20, 20}));
}

TEST_F(KeypadSim, NotifyKeysWithoutAWindowDoNothing) {
    ASSERT_NE(keys_, nullptr);
    library_->setAppWindow(nullptr);
    keys_->Groups[0].Actions[0] = Code(7);
    PlayScript(Report(0xA1) + Report(0xA0) + Report(0xA4) + Report(0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+10", "-10"}));
    EXPECT_TRUE(g_notifications.empty());
}

TEST_F(KeypadSim, ModelsWithoutKeysAndPenCollectionsAreNotOpened) {
    ASSERT_NE(keys_, nullptr);
    simtest::DeviceSpec noKeys = keytest::Keypad(0);
    noKeys.productId = 0x8208;  // its first row has no keypad, its second does
    simtest::DeviceSpec pen = keytest::Keypad(1);
    pen.reportLength = 8;
    Plug(Report(0xA1) + Report(0xA0), noKeys);
    Plug(Report(0xA1) + Report(0xA0), pen);
    Plug(Report(0xA2) + Report(0xA0), keytest::Keypad(2));
    StartService();
    WaitForDevice(2);
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+12", "-12"}));
}

// The launch probe writes its command line after the program name to the file named by this variable.
constexpr char kProbeOutputVariable[] = "PZ_LAUNCH_PROBE_OUT";

class KeypadLaunch : public KeypadSim {
  protected:
    void SetUp() override {
        KeypadSim::SetUp();
        char directory[MAX_PATH];
        GetTempPathA(MAX_PATH, directory);
        output_ = std::string(directory) + "pz_launch_probe.txt";
        DeleteFileA(output_.c_str());
        SetEnvironmentVariableA(kProbeOutputVariable, output_.c_str());
    }
    void TearDown() override {
        KeypadSim::TearDown();
        DeleteFileA(output_.c_str());
    }
    // The probe's command line tail, once it has written it.
    std::string LaunchedWith(DWORD timeoutMs = 10000) {
        std::vector<uint8_t> bytes;
        WaitUntil([&] { return !(bytes = keytest::ReadFileBytes(output_)).empty(); }, timeoutMs);
        return std::string(bytes.begin(), bytes.end());
    }
    void SetLaunch(int group, int key, const std::string& path, const std::string& parameters) {
        pz::LaunchEntry& entry = keys_->Groups[group].Launch[key];
        std::memset(&entry, 0, sizeof entry);
        std::memcpy(entry.Path, path.data(), std::min(path.size(), sizeof entry.Path));
        std::memcpy(entry.Parameters, parameters.data(), std::min(parameters.size(), sizeof entry.Parameters));
    }
    std::string output_;
};

TEST_F(KeypadLaunch, LaunchKeysStartTheirProgramWithItsParametersOnRelease) {
    ASSERT_NE(keys_, nullptr);
    keys_->Groups[1].Actions[1] = Code(4);  // key 18
    SetLaunch(1, 1, simtest::ProgramPath("key_launch_probe.exe"), "alpha \"beta gamma\"");
    SetLaunch(0, 1, "C:\\nowhere\\wrong.exe", "wrong key");  // group 1's key 2 is not the one
    Plug(Report(0xA0, 0xA2) + "+1500 " + Report(0xA0, 0xA0));
    StartService();
    keytest::PumpMessages(1000);
    EXPECT_TRUE(keytest::ReadFileBytes(output_).empty()) << "launched on press";
    WaitForDevice(0);
    EXPECT_EQ(LaunchedWith(), "alpha \"beta gamma\"");
}

TEST_F(KeypadLaunch, UnterminatedParametersEndWithTheirField) {
    ASSERT_NE(keys_, nullptr);
    keys_->Groups[0].Actions[0] = Code(4);
    const std::string parameters(128, 'q');
    SetLaunch(0, 0, simtest::ProgramPath("key_launch_probe.exe"), parameters);
    SetLaunch(0, 1, "next-entry", "");  // what an unbounded read would run on into
    PlayScript(Report(0xA1) + Report(0xA0));
    EXPECT_EQ(LaunchedWith(), parameters);
}

TEST_F(KeypadLaunch, AnEmptyPathLaunchesNothing) {
    ASSERT_NE(keys_, nullptr);
    keys_->Groups[0].Actions[0] = Code(4);
    SetLaunch(0, 0, "", "whatever");
    PlayScript(Report(0xA1) + Report(0xA0) + Report(0xA4) + Report(0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+10", "-10"}));
    EXPECT_EQ(LaunchedWith(500), "");
}

// The settings program's save: "quorvandelSavePztabletBIN" set, the key file written by the device thread.
class KeypadSave : public KeypadSim {
  protected:
    void SetUp() override {
        KeypadSim::SetUp();
        ASSERT_NE(keys_, nullptr);
        ASSERT_TRUE(keytest::WriteFileBytes(keytest::WindowsDirectoryKeyFile(), keytest::KeyFileImage(*keys_)));
        save_ = CreateEventA(nullptr, TRUE, FALSE, pz::kSaveKeysEventName);
        ASSERT_NE(save_, nullptr);
    }
    void TearDown() override {
        KeypadSim::TearDown();
        CloseHandle(save_);
    }
    std::vector<uint8_t> File() const { return keytest::ReadFileBytes(keytest::WindowsDirectoryKeyFile()); }
    // True when the file holds the reserved bytes and the block.
    bool FileHoldsTheBlock() const {
        const std::vector<uint8_t> file = File();
        return file.size() == pz::kKeyFileSize && std::memcmp(file.data(), "RSVD", 4) == 0 &&
               std::memcmp(file.data() + 4, keys_, sizeof *keys_) == 0;
    }
    HANDLE save_ = nullptr;
};

TEST_F(KeypadSave, ASaveWhileServingWritesTheFileOnceAndKeepsOneListener) {
    Plug(Report(0xA1) + Report(0xA0) + "wait 3000\n" + Report(0xA2) + Report(0xA0));
    StartService();
    ASSERT_TRUE(WaitUntil([&] { return keytest::KeyStrokes(keyRecorder_).size() == 2; }, 10000));
    // A save is taken up by resetting the event; the file is written right after.
    const auto save = [&](uint8_t key) {
        keys_->Groups[1].Actions[2] = Keys(key);
        SetEvent(save_);
        EXPECT_TRUE(WaitUntil([&] { return WaitForSingleObject(save_, 0) == WAIT_TIMEOUT; }, 2000));
        keytest::PumpMessages(200);
        return FileHoldsTheBlock();
    };
    EXPECT_TRUE(save(0x42)) << "the first save was not written";
    const DWORD threads = ThreadsOfThisProcess();
    EXPECT_TRUE(save(0x43)) << "the second save was not written";
    EXPECT_EQ(ThreadsOfThisProcess(), threads) << "a save changed the service's threads";
    // Written once: a later change reaches the file only with another save.
    keys_->Groups[1].Actions[2] = Keys(0x44);
    keytest::PumpMessages(300);
    EXPECT_FALSE(FileHoldsTheBlock());
    WaitForDevice(0);
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "-11", "+12", "-12"}));
}

TEST_F(KeypadSave, ASaveWhileSearchingWaitsForAKeypad) {
    keys_->Groups[1].ScrollDisabled = 1;
    const std::vector<uint8_t> before = File();
    SetEvent(save_);
    StartService();
    keytest::PumpMessages(700);
    EXPECT_EQ(File(), before) << "written with no keypad open";
    EXPECT_EQ(WaitForSingleObject(save_, 0), WAIT_OBJECT_0) << "the pending save was dropped";
    Plug(Report(0xA1) + Report(0xA0));
    EXPECT_TRUE(WaitUntil([&] { return FileHoldsTheBlock(); }, 8000)) << "not written once a keypad opened";
    WaitForDevice(0);
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "-11"}));
}

TEST_F(KeypadSim, AnUnpluggedKeypadIsFoundAgainWhenPluggedBackIn) {
    ASSERT_NE(keys_, nullptr);
    PlayScript(Report(0xA1) + Report(0xA0) + "wait 300\nunplug\nwait 1000\nplug\n" + Report(0xA2) + Report(0xA0));
    const std::vector<simtest::KeyRecord> records = keyRecorder_.Injected();
    ASSERT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "-11", "+12", "-12"}));
    // Lost at the unplug, searched for every 6000 ms: back within about 6 s of the plug.
    EXPECT_LT(records[2].tick - records[1].tick, 300u + 1000u + 6000u + 1500u);
}

class KeypadSimWithoutBlock : public KeypadSim {
  protected:
    void SetUp() override {
        squatter_ = CreateEventA(nullptr, TRUE, FALSE, pz::kKeySetBlockName);
        ASSERT_NE(squatter_, nullptr);
        KeypadSim::SetUp();
    }
    void TearDown() override {
        KeypadSim::TearDown();
        CloseHandle(squatter_);
    }
    HANDLE squatter_ = nullptr;
};

TEST_F(KeypadSimWithoutBlock, ThePrivateBufferHoldsTheDefaults) {
    EXPECT_EQ(keys_, nullptr) << "the name is taken, so there is no block";
    PlayScript(Report(0xA1) + Report(0xA0) + Report(0xA8) + Report(0xA0));
    EXPECT_EQ(keytest::KeyStrokes(keyRecorder_), (Strokes{"+11", "-11", "+20", "-20"}));
}

}  // namespace
