// The Wintab functions that read a context's queue. Each first takes what the service has queued, so a
// program that polls without pumping messages still gets every packet.
#include <climits>

#include "context_registry.h"
#include "packet_format.h"
#include "wintab_api.h"

using namespace wt32;

namespace {

// Packs `packets` into the program's buffer in its packet format; returns the count.
int Deliver(const OpenContext& context, const std::vector<wintab::PACKET>& packets, LPVOID buffer) {
    if (buffer != nullptr) {
        auto* at = static_cast<uint8_t*>(buffer);
        for (const wintab::PACKET& packet : packets)
            at += PackPacket(packet, context.handle, context.state.Context().lcPktData, sizeof(void*), at);
    }
    return static_cast<int>(packets.size());
}

// The context of `handle` with the service's packets taken, or nullptr.
OpenContext* Pulled(HCTX handle) {
    OpenContext* context = FindContext(handle);
    if (context != nullptr) PullPackets(*context);
    return context;
}

int Data(HCTX handle, UINT first, UINT last, int count, LPVOID packets, LPINT copied, bool remove) {
    RegistryLock lock;
    OpenContext* context = Pulled(handle);
    std::vector<wintab::PACKET> all, out;
    if (context == nullptr || count < 0 || !context->state.Queue().Range(first, last, UINT_MAX, false, all)) {
        if (copied != nullptr) *copied = 0;
        return 0;
    }
    context->state.Queue().Range(first, last, static_cast<uint32_t>(count), remove, out);
    const int n = Deliver(*context, out, packets);
    if (copied != nullptr) *copied = n;
    return static_cast<int>(all.size());
}

}  // namespace

extern "C" {

int WINAPI WTPacketsGet(HCTX handle, int count, LPVOID packets) {
    RegistryLock lock;
    OpenContext* context = Pulled(handle);
    if (context == nullptr || count <= 0) return 0;
    return Deliver(*context, context->state.Queue().Take(static_cast<uint32_t>(count)), packets);
}

int WINAPI WTPacketsPeek(HCTX handle, int count, LPVOID packets) {
    RegistryLock lock;
    OpenContext* context = Pulled(handle);
    if (context == nullptr || count <= 0) return 0;
    return Deliver(*context, context->state.Queue().Peek(static_cast<uint32_t>(count)), packets);
}

BOOL WINAPI WTPacket(HCTX handle, UINT serial, LPVOID packet) {
    RegistryLock lock;
    OpenContext* context = Pulled(handle);
    wintab::PACKET found{};
    if (context == nullptr || !context->state.Queue().TakeSerial(serial, &found)) return FALSE;
    Deliver(*context, {found}, packet);
    return TRUE;
}

int WINAPI WTDataGet(HCTX handle, UINT first, UINT last, int count, LPVOID packets, LPINT copied) {
    return Data(handle, first, last, count, packets, copied, true);
}

int WINAPI WTDataPeek(HCTX handle, UINT first, UINT last, int count, LPVOID packets, LPINT copied) {
    return Data(handle, first, last, count, packets, copied, false);
}

int WINAPI WTQueueSizeGet(HCTX handle) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    return context != nullptr ? static_cast<int>(context->state.Queue().Capacity()) : 0;
}

BOOL WINAPI WTQueueSizeSet(HCTX handle, int size) {
    RegistryLock lock;
    OpenContext* context = FindContext(handle);
    return context != nullptr && context->state.Queue().Resize(size);
}

BOOL WINAPI WTQueuePacketsEx(HCTX handle, UINT* oldest, UINT* newest) {
    RegistryLock lock;
    OpenContext* context = Pulled(handle);
    uint32_t first = 0, last = 0;
    if (context == nullptr || !context->state.Queue().Bounds(&first, &last)) return FALSE;
    if (oldest != nullptr) *oldest = first;
    if (newest != nullptr) *newest = last;
    return TRUE;
}

}  // extern "C"
