// State shared by the Wintab listener and the client threads.
#pragma once

#include <windows.h>

#include <cstdint>

#include "published_handles.h"
#include "records.h"
#include "wintab_clients.h"

namespace ktpen {

struct WintabServerState {
    HANDLE controlMapping = nullptr;
    pz::WintabControlBlock* controlView = nullptr;
    HANDLE requestEvent = nullptr;
    HANDLE syncEvent = nullptr;
    HANDLE listener = nullptr;
    uint32_t connectionCounter = pz::kFirstContextId - 1;  // the listener's count of accepted requests
    // Client threads still running; `clientsEnded` is set whenever the count is 0.
    LONG liveClients = 0;
    HANDLE clientsEnded = nullptr;
    // Under ServerLock: which client is current, and the handles the control block names.
    WintabClients clients;
    PublishedHandles published;
};

extern WintabServerState g_wintab;

// The server's critical section: every change of the current context, of the client table and of the
// published handles happens inside it.
class ServerLock {
  public:
    ServerLock();
    ~ServerLock();
    ServerLock(const ServerLock&) = delete;
    ServerLock& operator=(const ServerLock&) = delete;
};

// Makes the clients' current block the pen pipeline's current context; called inside ServerLock.
void ApplyCurrentContext();

// The connection's thread, started by the listener with the connection's number as its parameter.
DWORD WINAPI ClientThread(void* contextId);
// Every client thread the listener counted as running calls this as it ends.
void ClientThreadEnded();

}  // namespace ktpen
