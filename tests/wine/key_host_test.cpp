// PzKeyHost-sim.exe: the key service hosted in its own process of the session, as a user runs it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "key_file.h"
#include "key_test_support.h"
#include "object_names.h"

namespace {

using keytest::Report;
using simtest::Child;

constexpr char kHostProgram[] = "PzKeyHost-sim.exe";
constexpr char kHostWindowClass[] = "PzKeyHostWindow";
constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\PzKeyHost-sim.exe";

std::vector<LPARAM> g_notifications;

LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == pz::kMsgKeyNotify) {
        g_notifications.push_back(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::unique_ptr<Child> StartHost(const char* arguments = "") {
    return std::make_unique<Child>("\"" + simtest::ProgramPath(kHostProgram) + "\"" + arguments);
}

// Waits until the host's block exists (its library is loaded).
bool WaitForBlock() {
    for (int i = 0; i < 250; ++i) {
        keytest::KeySetBlockView block;
        if (block.record() != nullptr) return true;
        Sleep(20);
    }
    return false;
}

HWND WaitForHostWindow() {
    for (int i = 0; i < 250; ++i) {
        if (HWND window = FindWindowA(kHostWindowClass, nullptr)) return window;
        Sleep(20);
    }
    return nullptr;
}

class KeyHost : public ::testing::Test {
  protected:
    void TearDown() override {
        if (host_ && host_->Wait(0) == STILL_ACTIVE) {
            Child stop("\"" + simtest::ProgramPath(kHostProgram) + "\" /stop");
            stop.Wait(5000);
            host_->Wait(5000);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, kAppDefaults);
        keytest::ReleaseModifiers();
    }

    keytest::KeyFileBackup backup_;
    std::unique_ptr<Child> host_;
};

TEST_F(KeyHost, CreatesAMissingKeyFileWithTheDefaultsAndStopsWhenTold) {
    host_ = StartHost();
    ASSERT_TRUE(host_->Started());
    ASSERT_TRUE(WaitForBlock());
    EXPECT_EQ(keytest::ReadFileBytes(keytest::WindowsDirectoryKeyFile()), pz::DefaultKeyFile());

    Child stop("\"" + simtest::ProgramPath(kHostProgram) + "\" /stop");
    EXPECT_EQ(stop.Wait(5000), 0u);
    EXPECT_EQ(host_->Wait(3000), 0u) << "the host did not end cleanly";
    Child none("\"" + simtest::ProgramPath(kHostProgram) + "\" /stop");
    EXPECT_EQ(none.Wait(5000), 1u) << "a stop request with no host running";
}

TEST_F(KeyHost, KeepsAnExistingKeyFile) {
    pz::KeySetRecord record;
    pz::SetDefaultKeys(record);
    record.Groups[1].Actions[0] = keytest::Keys(0x41);
    const std::vector<uint8_t> image = keytest::KeyFileImage(record);
    ASSERT_TRUE(keytest::WriteFileBytes(keytest::WindowsDirectoryKeyFile(), image));
    host_ = StartHost();
    ASSERT_TRUE(WaitForBlock());
    EXPECT_EQ(keytest::ReadFileBytes(keytest::WindowsDirectoryKeyFile()), image);
    keytest::KeySetBlockView block;
    ASSERT_NE(block.record(), nullptr);
    EXPECT_EQ(block.record()->Groups[1].Actions[0].Bytes[0], 0x41);
}

TEST_F(KeyHost, RunsOncePerSession) {
    host_ = StartHost();
    ASSERT_TRUE(WaitForBlock());
    Child second("\"" + simtest::ProgramPath(kHostProgram) + "\"");
    EXPECT_EQ(second.Wait(5000), 0u) << "a second host kept running";
    EXPECT_EQ(host_->Wait(0), static_cast<DWORD>(STILL_ACTIVE)) << "the first host ended";
}

TEST_F(KeyHost, EndsWhenTheSessionEnds) {
    host_ = StartHost();
    HWND window = WaitForHostWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(host_->Wait(3000), 0u);
}

TEST_F(KeyHost, BeforeVersionSixTheKeyFileIsInTheSystemDirectory) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kAppDefaults, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6);
    RegCloseKey(key);
    pz::KeySetRecord record;
    pz::SetDefaultKeys(record);
    record.Groups[0].Actions[0] = keytest::Keys(0x51);
    ASSERT_TRUE(keytest::WriteFileBytes(keytest::SystemDirectoryKeyFile(), keytest::KeyFileImage(record)));
    host_ = StartHost();
    ASSERT_TRUE(WaitForBlock());
    keytest::KeySetBlockView block;
    ASSERT_NE(block.record(), nullptr);
    EXPECT_EQ(block.record()->Groups[0].Actions[0].Bytes[0], 0x51);
    EXPECT_EQ(GetFileAttributesA(keytest::WindowsDirectoryKeyFile().c_str()), INVALID_FILE_ATTRIBUTES)
        << "the host made a file where this system does not look";
}

TEST_F(KeyHost, AWindowSetInOneProcessIsNotifiedByTheDeviceThreadOfAnother) {
    // Group 2's key 1 notifies; the host loads these functions from the key file.
    pz::KeySetRecord record;
    pz::SetDefaultKeys(record);
    record.Groups[1].Actions[0] = keytest::Code(7);
    ASSERT_TRUE(keytest::WriteFileBytes(keytest::WindowsDirectoryKeyFile(), keytest::KeyFileImage(record)));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NotifyWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KeyHostNotify";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    g_notifications.clear();
    {
        // This process loads the library only to set the window; its device thread never runs here.
        keytest::KeyLibrary library;
        ASSERT_TRUE(library.Loaded());
        library.setAppWindow(window);

        std::unique_ptr<Child> device(keytest::PlugDevice(keytest::Keypad(), Report(0xA0, 0xA1) + Report(0xA0, 0xA0)));
        host_ = StartHost();
        const DWORD start = GetTickCount();
        while (device->Wait(0) == STILL_ACTIVE && GetTickCount() - start < 15000) keytest::PumpMessages(50);
        keytest::PumpMessages(300);
        library.setAppWindow(nullptr);
    }
    DestroyWindow(window);
    EXPECT_EQ(g_notifications, (std::vector<LPARAM>{17, 17}));
}

}  // namespace
