// The watchdog thread: every 200 ms it lets the pen pipeline check for a silence of more than 400 ms,
// and rests 500 ms after it declared the pen gone.
#include "service_runtime.h"
#include "tablet_threads.h"
#include "user_desktop.h"

namespace ktpen {
namespace {

constexpr DWORD kCheckIntervalMs = 200;
constexpr DWORD kRestAfterLeaveMs = 500;

HANDLE g_watchdogThread = nullptr;

DWORD WINAPI WatchdogThread(void*) {
    AttachToUserDesktop();  // its button release must reach the desktop the user sees
    while (WaitForSingleObject(g_events.stop, kCheckIntervalMs) == WAIT_TIMEOUT) {
        if (Pipeline().WatchdogCheck()) Sleep(kRestAfterLeaveMs);
    }
    return 0;
}

}  // namespace

void StartWatchdogThread() {
    if (g_watchdogThread != nullptr) return;
    g_watchdogThread = CreateThread(nullptr, 0, WatchdogThread, nullptr, 0, nullptr);
}

void JoinTabletThreads() {
    JoinReaderThread();
    if (g_watchdogThread == nullptr) return;
    WaitForSingleObject(g_watchdogThread, INFINITE);
    CloseHandle(g_watchdogThread);
    g_watchdogThread = nullptr;
}

}  // namespace ktpen
