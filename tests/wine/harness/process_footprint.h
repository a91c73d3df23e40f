// What a process holds, counted from outside: its threads and its open handles. Wine does not implement
// GetProcessHandleCount, so handles are counted by duplicating them out of the process.
#pragma once

#include <windows.h>

namespace simtest {

struct Footprint {
    DWORD threads = 0;
    DWORD handles = 0;
};

// Threads of a process, as the tool-help snapshot counts them.
DWORD ThreadCount(DWORD processId);
// Open handles of `process` (opened with PROCESS_DUP_HANDLE).
DWORD HandleCount(HANDLE process);
// The footprint once it has held still for half a second, or the last one seen after `timeoutMs`.
Footprint SettledFootprint(HANDLE process, DWORD processId, DWORD timeoutMs = 10000);

}  // namespace simtest
