#include "wintab_server.h"

#include "object_names.h"
#include "service_runtime.h"
#include "shared_block.h"
#include "wintab_server_state.h"

namespace ktpen {

WintabServerState g_wintab;

namespace {

// ServerLock's critical section lives as long as the process.
struct ServerSection {
    ServerSection() { InitializeCriticalSection(&section); }
    ~ServerSection() { DeleteCriticalSection(&section); }
    CRITICAL_SECTION section;
};
ServerSection g_serverSection;

constexpr DWORD kListenerEndBeepHz = 1000;
constexpr DWORD kListenerEndBeepMs = 10;

uint32_t HandleValue(HANDLE handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

void ClientThreadStarting() {
    ServerLock lock;
    if (g_wintab.liveClients++ == 0) ResetEvent(g_wintab.clientsEnded);
}

void StartClientThread(uint32_t contextId) {
    ClientThreadStarting();
    // The connection's number travels with the thread, so that two quick requests never share one.
    HANDLE thread = CreateThread(nullptr, 0, ClientThread, reinterpret_cast<void*>(uintptr_t{contextId}),
                                 CREATE_SUSPENDED, nullptr);
    if (thread == nullptr) {
        ClientThreadEnded();
        return;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
    ResumeThread(thread);
    CloseHandle(thread);
}

DWORD WINAPI ListenerThread(void*) {
    HANDLE waits[2] = {g_events.stop, g_wintab.requestEvent};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        ++g_wintab.connectionCounter;
        ResetEvent(g_wintab.requestEvent);
        StartClientThread(g_wintab.connectionCounter);
    }
    Beep(kListenerEndBeepHz, kListenerEndBeepMs);
    return 1;
}

void CloseHandleOnce(HANDLE& handle) {
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
}

void ReleaseControlBlock() {
    if (g_wintab.controlView != nullptr) UnmapViewOfFile(g_wintab.controlView);
    g_wintab.controlView = nullptr;
    CloseHandleOnce(g_wintab.controlMapping);
    CloseHandleOnce(g_wintab.requestEvent);
    CloseHandleOnce(g_wintab.syncEvent);
    CloseHandleOnce(g_wintab.clientsEnded);
}

}  // namespace

ServerLock::ServerLock() {
    EnterCriticalSection(&g_serverSection.section);
}

ServerLock::~ServerLock() {
    LeaveCriticalSection(&g_serverSection.section);
}

void ClientThreadEnded() {
    ServerLock lock;
    if (--g_wintab.liveClients == 0) SetEvent(g_wintab.clientsEnded);
}

void ApplyCurrentContext() {
    Pipeline().SetCurrentContext(g_wintab.clients.Current());
}

bool CreateWintabControlBlock() {
    // The events exist before the block names them, so a client never finds a half-made block.
    g_wintab.requestEvent = CreateEventA(nullptr, TRUE, FALSE, pz::kWintabRequestEventName);
    g_wintab.syncEvent = CreateEventA(nullptr, TRUE, FALSE, pz::kWintabSyncEventName);
    g_wintab.clientsEnded = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    g_wintab.controlMapping = pz::CreateSharedBlock(pz::kWintabControlBlockName, sizeof(pz::WintabControlBlock));
    if (g_wintab.controlMapping != nullptr)
        g_wintab.controlView = static_cast<pz::WintabControlBlock*>(
            MapViewOfFile(g_wintab.controlMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(pz::WintabControlBlock)));
    if (g_wintab.requestEvent == nullptr || g_wintab.syncEvent == nullptr || g_wintab.clientsEnded == nullptr ||
        g_wintab.controlView == nullptr) {
        ReleaseControlBlock();
        return false;
    }
    ResetEvent(g_wintab.requestEvent);  // a request left from an earlier run has no one waiting for it
    g_wintab.controlView->ServerProcessId = GetCurrentProcessId();
    g_wintab.controlView->RequestEventHandle = HandleValue(g_wintab.requestEvent);
    g_wintab.controlView->SyncEventHandle = HandleValue(g_wintab.syncEvent);
    g_wintab.listener = CreateThread(nullptr, 0, ListenerThread, nullptr, 0, nullptr);
    if (g_wintab.listener == nullptr) {
        ReleaseControlBlock();
        return false;
    }
    return true;
}

void CloseWintabServer() {
    if (g_wintab.listener == nullptr) return;
    // No thread is started once the listener has ended; every client thread ends at the stop event.
    WaitForSingleObject(g_wintab.listener, INFINITE);
    CloseHandleOnce(g_wintab.listener);
    WaitForSingleObject(g_wintab.clientsEnded, INFINITE);
    {
        ServerLock lock;
        g_wintab.published.Release();
        ApplyCurrentContext();
    }
    ReleaseControlBlock();
}

}  // namespace ktpen
