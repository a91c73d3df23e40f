#include "user_desktop.h"

#include <windows.h>

#include <mutex>

namespace ktpen {
namespace {
constexpr char kInteractiveStation[] = "WinSta0";
constexpr char kUserDesktop[] = "Default";
constexpr ACCESS_MASK kDesktopAccess =
    DESKTOP_READOBJECTS | DESKTOP_WRITEOBJECTS | DESKTOP_JOURNALPLAYBACK | DESKTOP_HOOKCONTROL;

std::once_flag g_once;
HDESK g_userDesktop = nullptr;  // opened once, shared by every injecting thread for the process's life

bool InInteractiveStation() {
    char name[64] = {};
    DWORD needed = 0;
    return GetUserObjectInformationA(GetProcessWindowStation(), UOI_NAME, name, sizeof name - 1, &needed) &&
           lstrcmpiA(name, kInteractiveStation) == 0;
}

void OpenUserDesktopOnce() {
    if (InInteractiveStation()) return;
    HWINSTA station = OpenWindowStationA(kInteractiveStation, FALSE, WINSTA_ACCESSGLOBALATOMS | WINSTA_READSCREEN);
    if (station == nullptr || !SetProcessWindowStation(station)) return;
    // The user's desktop by name: Wine hands out an input desktop that no thread may be moved to.
    g_userDesktop = OpenDesktopA(kUserDesktop, 0, FALSE, kDesktopAccess);
}
}  // namespace

bool AttachToUserDesktop() {
    std::call_once(g_once, OpenUserDesktopOnce);
    if (g_userDesktop == nullptr) return InInteractiveStation();
    return SetThreadDesktop(g_userDesktop) != FALSE;
}

}  // namespace ktpen
