#include "context_registry.h"

#include "wintab_constants.h"

namespace wt32 {
namespace {

CRITICAL_SECTION* Lock() {
    static CRITICAL_SECTION lock;
    static const bool ready = (InitializeCriticalSection(&lock), true);
    (void)ready;
    return &lock;
}

}  // namespace

RegistryLock::RegistryLock() {
    EnterCriticalSection(Lock());
}
RegistryLock::~RegistryLock() {
    LeaveCriticalSection(Lock());
}

std::vector<std::unique_ptr<OpenContext>>& OpenContexts() {
    static std::vector<std::unique_ptr<OpenContext>> contexts;
    return contexts;
}

OpenContext* FindContext(const void* handle) {
    for (auto& context : OpenContexts())
        if (context->handle == reinterpret_cast<uintptr_t>(handle)) return context.get();
    return nullptr;
}

OpenContext* FindContextById(uint32_t contextId) {
    for (auto& context : OpenContexts())
        if (context->link.ContextId() == contextId) return context.get();
    return nullptr;
}

uintptr_t NextContextHandle() {
    static uintptr_t next = 0;
    return ++next;  // never reused within the process
}

void PostToProgram(const OpenContext& context, uint32_t offset, WPARAM wParam, LPARAM lParam) {
    if (context.window != nullptr)
        PostMessageA(context.window, context.state.Context().lcMsgBase + offset, wParam, lParam);
}

void PullPackets(OpenContext& context) {
    std::vector<wintab::PACKET> snapshot;
    if (!context.link.ReadQueue(snapshot)) return;  // the next WT_PACKET or read tries again
    const std::vector<uint32_t> serials = context.state.Accept(snapshot);
    if (!(context.state.Context().lcOptions & wintab::CXO_MESSAGES)) return;
    for (uint32_t serial : serials) PostToProgram(context, kMsgPacket, serial, static_cast<LPARAM>(context.handle));
}

uint32_t ContextStatus(const OpenContext& context) {
    uint32_t status = context.enabled ? 0 : CXS_DISABLED;
    if (!OpenContexts().empty() && OpenContexts().front().get() == &context) status |= CXS_ONTOP;
    return status;
}

}  // namespace wt32
