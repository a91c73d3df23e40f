#include "service_connection.h"

#include "object_names.h"
#include "service_object_open.h"

namespace wt32 {
namespace {

constexpr DWORD kConnectTimeoutMs = 3000;
constexpr DWORD kCommandTimeoutMs = 500;
constexpr int kReadAttempts = 8;

// Clients of one process ask one at a time: the published handles describe the newest connection only.
CRITICAL_SECTION* ConnectLock() {
    static CRITICAL_SECTION lock;
    static const bool ready = (InitializeCriticalSection(&lock), true);
    (void)ready;
    return &lock;
}

HANDLE Duplicate(HANDLE server, uint32_t value) {
    HANDLE own = nullptr;
    if (value == 0 || !DuplicateHandle(server, (HANDLE)(intptr_t)(int32_t)value, GetCurrentProcess(), &own, 0, FALSE,
                                       DUPLICATE_SAME_ACCESS))
        return nullptr;
    return own;
}

// The service's named event, or its handle duplicated out of the service.
HANDLE OpenEvent(const char* name, HANDLE server, uint32_t published) {
    HANDLE event = pz::OpenServiceObject(pz::ServiceObjectKind::kEvent, name, EVENT_MODIFY_STATE | SYNCHRONIZE);
    return event != nullptr ? event : Duplicate(server, published);
}

void CloseIf(HANDLE& handle) {
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
}

// The shared queue through volatile reads: the service writes it while this process copies.
class MappedQueue : public SharedQueueView {
  public:
    explicit MappedQueue(volatile pz::WintabContextBlock* block) : block_(block) {}
    uint32_t Length() override { return block_->QueueLength; }
    uint32_t Serial() override { return block_->PacketSerial; }
    void Entry(uint32_t index, wintab::PACKET* out) override {
        const volatile uint32_t* from = reinterpret_cast<const volatile uint32_t*>(&block_->PacketQueue[index]);
        auto* to = reinterpret_cast<uint32_t*>(out);
        for (size_t n = 0; n < sizeof(wintab::PACKET) / 4; ++n) to[n] = from[n];
    }

  private:
    volatile pz::WintabContextBlock* block_;
};

}  // namespace

bool ServiceConnection::Connect(HWND window, const wintab::LOGCONTEXTA& context) {
    HANDLE control = pz::OpenServiceObject(pz::ServiceObjectKind::kMapping, pz::kWintabControlBlockName, FILE_MAP_READ);
    if (control == nullptr) return false;
    auto* published = static_cast<volatile pz::WintabControlBlock*>(
        MapViewOfFile(control, FILE_MAP_READ, 0, 0, sizeof(pz::WintabControlBlock)));
    CloseHandle(control);
    if (published == nullptr) return false;

    HANDLE server = OpenProcess(PROCESS_DUP_HANDLE, FALSE, published->ServerProcessId);
    HANDLE request = OpenEvent(pz::kWintabRequestEventName, server, published->RequestEventHandle);
    HANDLE sync = OpenEvent(pz::kWintabSyncEventName, server, published->SyncEventHandle);
    if (server != nullptr && request != nullptr && sync != nullptr) {
        EnterCriticalSection(ConnectLock());
        // The sync pulse releases only a waiter that is already waiting: set and wait in one step.
        if (SignalObjectAndWait(request, sync, kConnectTimeoutMs, FALSE) == WAIT_OBJECT_0) {
            const uint32_t mapping = published->ContextMappingHandle;
            const uint32_t close = published->CloseEventHandle;
            const uint32_t command = published->CommandEventHandle;
            const uint32_t client = published->ClientEventHandle;
            mapping_ = Duplicate(server, mapping);
            closeEvent_ = Duplicate(server, close);
            commandEvent_ = Duplicate(server, command);
            clientEvent_ = Duplicate(server, client);
        }
        LeaveCriticalSection(ConnectLock());
    }
    CloseIf(request);
    CloseIf(sync);
    CloseIf(server);
    UnmapViewOfFile(const_cast<pz::WintabControlBlock*>(published));

    if (mapping_ != nullptr)
        block_ = static_cast<volatile pz::WintabContextBlock*>(
            MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, pz::kWintabContextBlockSize));
    if (block_ == nullptr || closeEvent_ == nullptr || commandEvent_ == nullptr) {
        Disconnect();
        return false;
    }
    contextId_ = block_->ContextId;
    WriteContext(context);
    block_->ClientWindow = (uint32_t)(uintptr_t)window;  // last: the service posts once it is set
    return true;
}

void ServiceConnection::Disconnect() {
    if (closeEvent_ != nullptr) SetEvent(closeEvent_);
    if (block_ != nullptr) UnmapViewOfFile(const_cast<pz::WintabContextBlock*>(block_));
    block_ = nullptr;
    CloseIf(mapping_);
    CloseIf(closeEvent_);
    CloseIf(commandEvent_);
    CloseIf(clientEvent_);
}

bool ServiceConnection::WaitTaken(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(commandEvent_, 0) == WAIT_OBJECT_0) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

void ServiceConnection::Send(uint32_t command) {
    if (block_ == nullptr) return;
    // The service resets the event before it reads the command: a command written before that would
    // replace the one still waiting.
    WaitTaken(kCommandTimeoutMs);
    block_->Command = command;
    SetEvent(commandEvent_);
    if (WaitTaken(kCommandTimeoutMs)) Sleep(1);  // its time-critical thread acts right after the reset
}

void ServiceConnection::WriteContext(const wintab::LOGCONTEXTA& context) {
    if (block_ == nullptr) return;
    const auto* from = reinterpret_cast<const uint32_t*>(&context);
    volatile uint32_t* to = reinterpret_cast<volatile uint32_t*>(&block_->Context);
    for (size_t n = 0; n < sizeof context / 4; ++n) to[n] = from[n];
}

bool ServiceConnection::ReadQueue(std::vector<wintab::PACKET>& out) {
    if (block_ == nullptr) return false;
    MappedQueue view(block_);
    // Never emptied with command 48: a packet the service queues between this copy and the command would be
    // lost. A full queue drops its oldest entry by itself, and the taker knows by serial what is new.
    return ReadSharedQueue(view, out, kReadAttempts);
}

}  // namespace wt32
