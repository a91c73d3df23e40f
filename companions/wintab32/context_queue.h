// One open context's own packet queue, sized by WTQueueSizeSet: oldest first, serial numbers rising.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "wintab_types.h"

namespace wt32 {

constexpr uint32_t kDefaultQueueSize = 8;
constexpr uint32_t kMaxQueueSize = 1024;

// Serial numbers wrap; a is before b when the difference, as a signed number, is negative.
inline bool SerialBefore(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}

class ContextQueue {
  public:
    uint32_t Capacity() const { return capacity_; }
    uint32_t Size() const { return static_cast<uint32_t>(packets_.size()); }

    // A new size empties the queue; false (nothing changed) outside 1..kMaxQueueSize.
    bool Resize(int size);
    void Flush() { packets_.clear(); }

    // A full queue drops its oldest packet; the packet that came in then carries TPS_QUEUE_ERR.
    void Push(const wintab::PACKET& packet);

    // Up to `count` oldest packets; Take removes them.
    std::vector<wintab::PACKET> Peek(uint32_t count) const;
    std::vector<wintab::PACKET> Take(uint32_t count);

    // The packet of `serial`, removing it and every older one; false (queue unchanged) when absent.
    bool TakeSerial(uint32_t serial, wintab::PACKET* out);

    // Packets from serial `first` to `last` (both queued, first not after last), at most `count`;
    // `remove` also drops those copied and every older one. False when the range is not in the queue.
    bool Range(uint32_t first, uint32_t last, uint32_t count, bool remove, std::vector<wintab::PACKET>& out);

    // Serial numbers of the oldest and newest queued packets; false when empty.
    bool Bounds(uint32_t* oldest, uint32_t* newest) const;

  private:
    // Index of the packet with `serial`, or -1.
    long Find(uint32_t serial) const;

    uint32_t capacity_ = kDefaultQueueSize;
    std::deque<wintab::PACKET> packets_;
};

}  // namespace wt32
