// The service where there is no service control manager: Wine reports Windows 98 to ktpen-sim.exe alone,
// so -i and -u use the RunServices key and a start without arguments runs in process behind a hidden
// dialog.
#include <gtest/gtest.h>

#include <memory>

#include "sim_tablet_harness.h"

namespace {

constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\ktpen-sim.exe";
constexpr char kRunServices[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr char kServiceName[] = "PzSuperPowerTablet";

std::string RunServicesValue() {
    char value[1024] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunServices, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    const LONG result = RegQueryValueExA(key, kServiceName, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_EXPAND_SZ ? value : "";
}

HWND FindHiddenDialog(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    while ((window = FindWindowA(nullptr, "PzTabletDrv")) == nullptr && GetTickCount() - start < timeoutMs) Sleep(50);
    return window;
}

class Windows98Path : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::EnsureSettingsFile();
        HKEY key;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kAppDefaults, &key), ERROR_SUCCESS);
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kAppDefaults); }

    std::string Program() const { return "\"" + simtest::ProgramPath("ktpen-sim.exe") + "\""; }

    void RunAndClose(const char* arguments) {
        simtest::Child child(Program() + arguments);
        HWND dialog = FindHiddenDialog(10000);
        ASSERT_NE(dialog, nullptr);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_NE(child.Wait(10000), static_cast<DWORD>(STILL_ACTIVE));
    }
};

// Without a control manager every start, -i and -u included, ends behind the hidden dialog; only closing
// it ends the process.
TEST_F(Windows98Path, InstallAndUninstallUseTheRunServicesValue) {
    RunAndClose(" -i");
    EXPECT_EQ(RunServicesValue(), simtest::ProgramPath("ktpen-sim.exe"));
    RunAndClose(" -u");
    EXPECT_EQ(RunServicesValue(), "");
}

TEST_F(Windows98Path, WithoutArgumentsTheServiceRunsBehindAHiddenDialogUntilItCloses) {
    simtest::MouseRecorder recorder;
    SetCursorPos(1, 1);
    simtest::DeviceSpec tablet;
    std::unique_ptr<simtest::Child> device(simtest::StartDevice(tablet, [] {
        std::string script;
        for (int i = 0; i < 6; ++i) script += simtest::Report8(0x90, 4000 + 40 * i, 4000, 0);
        return script;
    }()));
    simtest::Child service(Program());

    HWND dialog = FindHiddenDialog(10000);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(device->Wait(20000), 0u);
    Sleep(200);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_GE(recorder.Injected(WM_MOUSEMOVE).size(), 3u);  // the work thread serves the tablet

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_NE(service.Wait(10000), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(Windows98Path, QuitMessageStopsTheServiceAndEndsTheProcess) {
    simtest::Child service(Program());
    HWND dialog = FindHiddenDialog(10000);
    ASSERT_NE(dialog, nullptr);
    PostThreadMessageA(GetWindowThreadProcessId(dialog, nullptr), WM_QUIT, 0, 0);
    EXPECT_NE(service.Wait(10000), static_cast<DWORD>(STILL_ACTIVE));
}

}  // namespace
