// The contexts this process has open, in overlap order (the top one first), under one lock. The relay
// window's thread and the program's threads both reach them.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "context_state.h"
#include "service_connection.h"

namespace wt32 {

struct OpenContext {
    explicit OpenContext(const wintab::LOGCONTEXTA& context) : state(context) {}
    uintptr_t handle = 0;
    HWND window = nullptr;
    bool enabled = false;  // as the program set it with WTOpen and WTEnable
    ContextState state;
    ServiceConnection link;
};

// Holds the registry's lock for its lifetime.
class RegistryLock {
  public:
    RegistryLock();
    ~RegistryLock();
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;
};

// The open contexts; use only under a RegistryLock.
std::vector<std::unique_ptr<OpenContext>>& OpenContexts();
OpenContext* FindContext(const void* handle);
OpenContext* FindContextById(uint32_t contextId);
uintptr_t NextContextHandle();

// Copies what the service queued for `context` into its own queue and, when the program asked for
// messages, posts WT_PACKET for each new packet. Under the lock.
void PullPackets(OpenContext& context);

// Posts one of the program's Wintab messages (offset from its lcMsgBase) to the context's window.
void PostToProgram(const OpenContext& context, uint32_t offset, WPARAM wParam, LPARAM lParam);

// The context's lcStatus as WTGet reports it.
uint32_t ContextStatus(const OpenContext& context);

}  // namespace wt32
