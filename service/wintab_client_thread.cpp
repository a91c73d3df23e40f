// One connected Wintab client: its context block and events, its commands, and the end of the
// connection when the client closes, goes away, or the service stops.
#include <initializer_list>

#include "client_watch.h"
#include "initial_context.h"
#include "service_runtime.h"
#include "shared_block.h"
#include "wintab_server_state.h"

namespace ktpen {
namespace {

// How often the client's window is looked at, to notice a client that ended without closing: often
// until the window's process is known, so that a client killed soon after it named its window is seen.
constexpr DWORD kLookForProcessMs = 200;
constexpr DWORD kWatchProcessMs = 1000;

constexpr DWORD kEndedEarly = 0;  // failed to connect, or the service stops
constexpr DWORD kEndedClosed = 2;

HANDLE CreateManualEvent() {
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

// The kernel objects of one connection, owned by its thread and released with it.
struct Connection {
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() {
        if (block != nullptr) UnmapViewOfFile(block);
        for (HANDLE handle : {handles.mapping, handles.closeEvent, handles.commandEvent, handles.clientEvent})
            if (handle != nullptr) CloseHandle(handle);
    }

    bool Create() {
        handles.closeEvent = CreateManualEvent();
        handles.commandEvent = CreateManualEvent();
        handles.clientEvent = CreateManualEvent();
        if (handles.closeEvent == nullptr || handles.commandEvent == nullptr || handles.clientEvent == nullptr)
            return false;
        handles.mapping = pz::CreateSharedBlock(nullptr, pz::kWintabContextBlockSize);
        if (handles.mapping == nullptr) return false;
        block = static_cast<pz::WintabContextBlock*>(
            MapViewOfFile(handles.mapping, FILE_MAP_ALL_ACCESS, 0, 0, pz::kWintabContextBlockSize));
        return block != nullptr;
    }

    ConnectionHandles handles{};
    pz::WintabContextBlock* block = nullptr;
};

// Publishes the connection, makes its block current and releases the waiting client. A connection
// that cannot be published is never announced.
bool Announce(Connection& connection) {
    ServerLock lock;
    if (!g_wintab.published.Publish(*g_wintab.controlView, connection.handles)) return false;
    g_wintab.clients.Connect(connection.block);
    ApplyCurrentContext();
    PulseEvent(g_wintab.syncEvent);
    return true;
}

void Act(pz::WintabContextBlock* block) {
    const uint32_t command = block->Command;
    if (command == pz::kCommandEmptyQueue) {
        Pipeline().EmptyQueue(block);
        return;
    }
    ServerLock lock;
    g_wintab.clients.Command(block, command);
    ApplyCurrentContext();
}

DWORD Close(pz::WintabContextBlock* block) {
    ServerLock lock;
    g_wintab.clients.Close(block);
    ApplyCurrentContext();
    return kEndedClosed;
}

DWORD Stop(pz::WintabContextBlock* block) {
    ServerLock lock;
    g_wintab.clients.Stop(block);
    ApplyCurrentContext();
    return kEndedEarly;
}

DWORD Serve(Connection& connection) {
    ClientWatch watch;
    for (;;) {
        HANDLE waits[4] = {g_events.stop, connection.handles.closeEvent, connection.handles.commandEvent,
                           watch.Process()};
        const bool known = watch.Process() != nullptr;
        const DWORD result =
            WaitForMultipleObjects(known ? 4 : 3, waits, FALSE, known ? kWatchProcessMs : kLookForProcessMs);
        if (result == WAIT_OBJECT_0) return Stop(connection.block);
        if (result == WAIT_OBJECT_0 + 1) {
            ResetEvent(connection.handles.closeEvent);
            return Close(connection.block);
        }
        if (result == WAIT_OBJECT_0 + 2) {
            ResetEvent(connection.handles.commandEvent);
            Act(connection.block);
            // A client commands just after naming its window: learn its process now, in case it dies
            // before the next poll and takes the window with it.
            if (!watch.StillThere(connection.block->ClientWindow)) return Close(connection.block);
            continue;
        }
        // The client's process ended, the poll came round, or the wait broke.
        if (result == WAIT_FAILED || !watch.StillThere(connection.block->ClientWindow)) return Close(connection.block);
    }
}

DWORD RunClient(uint32_t contextId) {
    Connection connection;
    if (!connection.Create()) return kEndedEarly;
    InitialiseContextBlock(*connection.block, contextId);
    if (!Announce(connection)) return kEndedEarly;
    return Serve(connection);
}

}  // namespace

DWORD WINAPI ClientThread(void* contextId) {
    const DWORD result = RunClient(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(contextId)));
    ClientThreadEnded();
    return result;
}

}  // namespace ktpen
