#include "key_listener.h"

#include "key_actions.h"
#include "key_service_state.h"

namespace ktkey {
namespace {

OVERLAPPED g_readOverlapped;

enum class ReadEnd { kStopped, kDeviceLost };

ReadEnd ReadReports(HANDLE device, HANDLE readEvent, HANDLE stopEvent) {
    HANDLE waitSet[2] = {readEvent, stopEvent};
    for (;;) {
        DWORD received = 0;
        if (ReadFile(device, g_currentReport, kKeypadReportLength, nullptr, &g_readOverlapped)) {
            if (GetOverlappedResult(device, &g_readOverlapped, &received, FALSE) && received == kKeypadReportLength)
                HandleKeypadReport();
            continue;
        }
        if (GetLastError() != ERROR_IO_PENDING) return ReadEnd::kDeviceLost;
        if (WaitForMultipleObjects(2, waitSet, FALSE, INFINITE) != WAIT_OBJECT_0) {
            CancelIo(device);
            GetOverlappedResult(device, &g_readOverlapped, &received, TRUE);
            return ReadEnd::kStopped;
        }
        // A failed read leaves nothing to handle; the next ReadFile reports a lost device.
        if (GetOverlappedResult(device, &g_readOverlapped, &received, FALSE) && received == kKeypadReportLength)
            HandleKeypadReport();
    }
}

}  // namespace

DWORD WINAPI KeyListenerThread(void* parameter) {
    HANDLE stopEvent = static_cast<HANDLE>(parameter);
    g_readOverlapped = OVERLAPPED{};
    g_readOverlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ReadEnd end = ReadEnd::kDeviceLost;
    if (g_readOverlapped.hEvent != nullptr) {
        end = ReadReports(g_keypadHandle, g_readOverlapped.hEvent, stopEvent);
        CloseHandle(g_readOverlapped.hEvent);
    }
    if (end == ReadEnd::kStopped) return 0;
    // Set, not pulsed: the device thread may be busy saving the key file and not waiting at this moment.
    // It resets the event once this thread has ended.
    SetEvent(stopEvent);
    return 1;
}

}  // namespace ktkey
