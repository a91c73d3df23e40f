#include "shared_queue_reader.h"

#include <cstring>

#include "context_queue.h"

namespace wt32 {
namespace {

// One pass: false when the copy cannot be trusted.
bool TryCopy(SharedQueueView& view, std::vector<wintab::PACKET>& first, std::vector<wintab::PACKET>& second) {
    const uint32_t serial = view.Serial();
    const uint32_t length = view.Length();
    if (length > pz::kPacketQueueCapacity) return false;
    first.resize(length);
    second.resize(length);
    for (uint32_t i = 0; i < length; ++i) view.Entry(i, &first[i]);
    for (uint32_t i = 0; i < length; ++i) view.Entry(i, &second[i]);
    if (view.Length() != length || view.Serial() != serial) return false;
    if (length != 0 && std::memcmp(first.data(), second.data(), length * sizeof(wintab::PACKET)) != 0) return false;
    for (uint32_t i = 0; i < length; ++i)
        if (first[i].pkSerialNumber != serial - length + i) return false;
    return true;
}

}  // namespace

bool ReadSharedQueue(SharedQueueView& view, std::vector<wintab::PACKET>& out, int attempts) {
    std::vector<wintab::PACKET> second;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (TryCopy(view, out, second)) return true;
    }
    out.clear();
    return false;
}

std::vector<wintab::PACKET> PacketTaker::TakeNew(const std::vector<wintab::PACKET>& snapshot) {
    std::vector<wintab::PACKET> fresh;
    for (const wintab::PACKET& packet : snapshot) {
        if (any_ && SerialBefore(packet.pkSerialNumber, next_)) continue;
        fresh.push_back(packet);
        any_ = true;
        next_ = packet.pkSerialNumber + 1;
    }
    return fresh;
}

}  // namespace wt32
