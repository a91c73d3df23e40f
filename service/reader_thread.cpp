// The reader thread: one overlapped read of the tablet's report length at a time, each report handed
// to the pen pipeline before the next read is issued.
#include <mutex>

#include "object_names.h"
#include "service_runtime.h"
#include "tablet_discovery.h"
#include "tablet_threads.h"
#include "user_desktop.h"

namespace ktpen {
namespace {

HANDLE g_readerThread = nullptr;
// The read-completion event, guarded so that a stop request never signals a closed handle.
std::mutex g_readEventLock;
HANDLE g_readEvent = nullptr;

void SetReadEvent(HANDLE event) {
    std::lock_guard<std::mutex> lock(g_readEventLock);
    g_readEvent = event;
}

// Hands over the reads of exactly the report length. A report longer than the read ends it with
// ERROR_MORE_DATA and leaves its rest for the next reads; all of it is dropped like any other report of
// the wrong length, up to the read that completes the report.
class ReportFilter {
  public:
    void OnRead(bool completed, DWORD received, uint8_t* buffer, DWORD length) {
        const bool cutShort = !completed && GetLastError() == ERROR_MORE_DATA;
        if (completed && !inLongReport_ && received == length) Pipeline().OnReportReceived(buffer, length);
        inLongReport_ = cutShort;
    }

  private:
    bool inLongReport_ = false;
};

// Reads until the stop event, a read error or an unplug. A read still outstanding at the end is cancelled
// and waited for, so that no read is left pending into the buffer.
void ReadReports(HANDLE device, DWORD length, HANDLE readEvent) {
    uint8_t buffer[kReportBufferSize] = {};
    OVERLAPPED overlapped{};
    overlapped.hEvent = readEvent;
    HANDLE waitSet[2] = {readEvent, g_events.stop};
    ReportFilter filter;
    bool pending = false;
    for (;;) {
        DWORD received = 0;
        if (!pending) {
            if (ReadFile(device, buffer, length, nullptr, &overlapped) || GetLastError() == ERROR_MORE_DATA) {
                const bool completed = GetOverlappedResult(device, &overlapped, &received, FALSE) != FALSE;
                filter.OnRead(completed, received, buffer, length);
                continue;
            }
            if (GetLastError() != ERROR_IO_PENDING) break;
            pending = true;
        }
        const DWORD woken = WaitForMultipleObjects(2, waitSet, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0 + 1 || woken == WAIT_FAILED) break;
        if (woken != WAIT_OBJECT_0) continue;
        const bool completed = GetOverlappedResult(device, &overlapped, &received, FALSE) != FALSE;
        if (!completed && GetLastError() == ERROR_IO_INCOMPLETE) {
            // Woken by a stop request, not by the read: keep the one read and wait again.
            ResetEvent(readEvent);
            if (HasOverlappedIoCompleted(&overlapped)) SetEvent(readEvent);
            continue;
        }
        pending = false;
        filter.OnRead(completed, received, buffer, length);
    }
    if (pending) {
        DWORD received = 0;
        CancelIo(device);
        GetOverlappedResult(device, &overlapped, &received, TRUE);
    }
}

DWORD WINAPI ReaderThread(void*) {
    AttachToUserDesktop();  // the pointer events are for the desktop the user sees
    // Without the pointer library the tablet stays open but unread until the service stops.
    HMODULE library = LoadLibraryA(pz::kPointerLibraryName);
    auto function =
        library != nullptr
            ? reinterpret_cast<MouseEventExFn>(reinterpret_cast<void*>(GetProcAddress(library, "mouse_eventEx")))
            : nullptr;
    if (function == nullptr) {
        if (library != nullptr) FreeLibrary(library);
        return 0;
    }
    Port().SetPointerFunction(function);
    ResetEvent(g_events.readerEnded);
    HANDLE readEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetReadEvent(readEvent);
    Pipeline().StartReading();

    if (readEvent != nullptr) ReadReports(g_tablet.handle, g_tablet.reportLength, readEvent);

    SetEvent(g_events.readerDone);
    SetEvent(g_events.readerEnded);
    SetReadEvent(nullptr);
    if (readEvent != nullptr) CloseHandle(readEvent);
    Port().SetPointerFunction(nullptr);
    FreeLibrary(library);
    return 0;
}

}  // namespace

bool StartReaderThread() {
    g_readerThread = CreateThread(nullptr, 0, ReaderThread, nullptr, 0, nullptr);
    if (g_readerThread == nullptr) return false;
    SetThreadPriority(g_readerThread, THREAD_PRIORITY_TIME_CRITICAL);
    return true;
}

void SignalReadCompletion() {
    std::lock_guard<std::mutex> lock(g_readEventLock);
    if (g_readEvent != nullptr) SetEvent(g_readEvent);
}

void JoinReaderThread() {
    if (g_readerThread == nullptr) return;
    WaitForSingleObject(g_readerThread, INFINITE);
    CloseHandle(g_readerThread);
    g_readerThread = nullptr;
}

}  // namespace ktpen
