// The installer's silent run in this prefix: the service it registers serves a simulated tablet at once,
// moving the pointer on this desktop from its own window station, and the silent uninstall leaves nothing
// of ours behind but the user's settings files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "object_names.h"
#include "records.h"
#include "sim_tablet_harness.h"

namespace {

constexpr char kService[] = "PzSuperPowerTablet";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PzTablet";

std::string SystemPath(const char* name) {
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + name;
}

std::string WindowsPath(const char* name) {
    char directory[MAX_PATH];
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + name;
}

std::string InstallDirectory() {
    char directory[MAX_PATH];
    GetEnvironmentVariableA("ProgramFiles", directory, MAX_PATH);
    return std::string(directory) + "\\PzTablet";
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<char> Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), {});
}

DWORD ServiceState() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager != nullptr ? OpenServiceA(manager, kService, SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status{};
    const DWORD state = service != nullptr && QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
    if (service != nullptr) CloseServiceHandle(service);
    if (manager != nullptr) CloseServiceHandle(manager);
    return state;
}

bool HasValue(const char* key, const char* name) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    const bool found = RegQueryValueExA(handle, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return found;
}

// The product id the running service published for the tablet it opened, or 0.
unsigned OpenedProductId() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, pz::kControlPanelBlockName);
    if (mapping == nullptr) return 0;
    const auto* block = static_cast<const pz::ControlPanelBlock*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    const unsigned productId = block != nullptr ? block->Tablet.ProductId : 0;
    if (block != nullptr) UnmapViewOfFile(block);
    CloseHandle(mapping);
    return productId;
}

const char* const kInstalledSystemFiles[] = {"KTPEN.exe", "KTPEN.dll", "PzKeyHost.exe", "KtKey-sim.dll"};

TEST(Installer, SilentInstallServesTheTabletAndUninstallLeavesOnlyTheSettings) {
    const std::vector<char> wintabBefore = Contents(SystemPath("Wintab32.dll"));
    DeleteFileA(SystemPath("PzTablet.cfg").c_str());  // a first installation writes the default

    simtest::MouseRecorder recorder;
    SetCursorPos(1, 1);
    simtest::DeviceSpec tablet;
    tablet.productId = 0x8201;
    std::string script;
    for (int i = 0; i < 6; ++i) script += simtest::Report8(0x90, 6000 + 40 * i, 2500, 0);
    std::unique_ptr<simtest::Child> device(simtest::StartDevice(tablet, script));

    simtest::Child setup("\"" + simtest::ProgramPath("PzTabletSetup-sim.exe") + "\" /S");
    ASSERT_EQ(setup.Wait(120000), 0u);
    for (const char* name : kInstalledSystemFiles) EXPECT_TRUE(Exists(SystemPath(name))) << name;
    EXPECT_TRUE(Exists(WindowsPath("Temp\\Wintab32.dll")));
    const std::vector<char> settings = Contents(SystemPath("PzTablet.cfg"));
    const std::vector<char> expected = {100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '\xDE', 0x27, '\xFE', 0x1C};
    EXPECT_EQ(settings, expected) << "the default settings file: pressure 100, the whole tablet";
    EXPECT_EQ(ServiceState(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_TRUE(HasValue(kRunKey, "PzKeyHost"));

    ASSERT_EQ(device->Wait(20000), 0u) << "the installed service did not read the tablet";
    EXPECT_EQ(OpenedProductId(), tablet.productId);
    Sleep(200);
    EXPECT_GE(recorder.Injected(WM_MOUSEMOVE).size(), 3u) << "the service's pointer events reach this desktop";

    simtest::Child uninstall("\"" + InstallDirectory() + "\\Uninstall.exe\" /S");
    ASSERT_EQ(uninstall.Wait(60000), 0u);
    // The uninstaller runs on from a copy of itself; wait until it has removed its own directory.
    for (int i = 0; i < 300 && Exists(InstallDirectory()); ++i) Sleep(100);
    EXPECT_FALSE(Exists(InstallDirectory()));
    for (const char* name : kInstalledSystemFiles) EXPECT_FALSE(Exists(SystemPath(name))) << name;
    EXPECT_FALSE(Exists(WindowsPath("Temp\\Wintab32.dll")));
    EXPECT_EQ(Contents(SystemPath("Wintab32.dll")), wintabBefore) << "the earlier Wintab library is back";
    EXPECT_EQ(ServiceState(), 0u) << "the service is removed";
    EXPECT_FALSE(HasValue(kRunKey, "PzKeyHost"));
    EXPECT_FALSE(HasValue(kUninstallKey, "DisplayName"));
    EXPECT_TRUE(Exists(SystemPath("PzTablet.cfg"))) << "the user's settings stay";
    EXPECT_TRUE(Exists(SystemPath("PzTablet.bin")) || Exists(WindowsPath("PzTablet.bin")));
}

}  // namespace
