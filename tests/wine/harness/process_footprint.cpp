#include "process_footprint.h"

#include <tlhelp32.h>

#include <cstdint>

namespace simtest {

DWORD ThreadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD threads = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == processId) threads = entry.cntThreads;
    CloseHandle(snapshot);
    return threads;
}

DWORD HandleCount(HANDLE process) {
    constexpr uintptr_t kLastHandleValue = 0x4000;
    DWORD count = 0;
    for (uintptr_t value = 4; value <= kLastHandleValue; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            ++count;
            CloseHandle(copy);
        }
    }
    return count;
}

Footprint SettledFootprint(HANDLE process, DWORD processId, DWORD timeoutMs) {
    Footprint now, before;
    const DWORD start = GetTickCount();
    for (int still = 0; still < 5 && GetTickCount() - start < timeoutMs;) {
        Sleep(100);
        now.threads = ThreadCount(processId);
        now.handles = HandleCount(process);
        still = now.threads == before.threads && now.handles == before.handles ? still + 1 : 0;
        before = now;
    }
    return now;
}

}  // namespace simtest
