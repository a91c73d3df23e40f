#include "tablet_discovery.h"

#include "hid_device.h"
#include "opened_tablet.h"
#include "service_runtime.h"
#include "settings_link.h"
#include "tablet_tables.h"
#include "tablet_threads.h"

namespace ktpen {
namespace {
constexpr DWORD kLastInterfaceIndex = 32;
constexpr uint16_t kGenericDesktopPage = 1;
constexpr uint16_t kMouseUsage = 2;
}  // namespace

TabletDevice g_tablet;

bool MatchTablet(HANDLE device) {
    HidCollectionInfo info;
    const pz::DeviceRow* row = nullptr;
    if (GetCollectionAttributes(device, info) && GetCollectionCaps(device, info) &&
        !(info.usagePage == kGenericDesktopPage && info.usage == kMouseUsage))
        row = pz::FindDeviceRow(info.vendorId, info.productId, info.inputReportLength);
    if (row == nullptr) {
        CloseHandle(device);
        return false;
    }
    g_tablet.handle = device;
    g_tablet.vendorId = row->VendorId;
    g_tablet.productId = row->ProductId;
    g_tablet.reportLength = row->ReportLength;
    g_tablet.pressureMaximum = row->PressureMaximum;
    g_tablet.ownLeaveReport = row->OwnLeaveReport;
    return true;
}

bool DiscoverTablet() {
    const GUID interfaceClass = HidInterfaceClass();
    g_tablet.ownLeaveReport = 0;
    bool matched = false;
    for (DWORD index = 0; index <= kLastInterfaceIndex && !matched; ++index) {
        HANDLE device = OpenInterface(interfaceClass, index);
        matched = device != nullptr && MatchTablet(device);
    }
    if (!matched) return false;

    TabletProperties properties;
    properties.reportLength = g_tablet.reportLength;
    properties.pressureMaximum = g_tablet.pressureMaximum;
    properties.ownLeaveReport = g_tablet.ownLeaveReport != 0;
    Pipeline().OnTabletOpened(properties);
    if (pz::ControlPanelBlock* block = pz::SettingsView())
        pz::DescribeOpenedTablet(*block, g_tablet.vendorId, g_tablet.productId, g_tablet.reportLength);
    if (!StartReaderThread()) return false;
    if (g_tablet.ownLeaveReport == 0) StartWatchdogThread();
    return true;
}

void CloseTablet() {
    if (g_tablet.handle != nullptr) CloseHandle(g_tablet.handle);
    g_tablet.handle = nullptr;
}

}  // namespace ktpen
