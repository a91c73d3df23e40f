// Copying packets out of the shared queue that the service writes at the same time, without a lock and
// without changing the block. The service writes an entry before it counts it, and drops the oldest of a
// full queue by moving every entry down one place; a copy taken during such a move can mix two packets.
// Entries 0..QueueLength-1 always hold the serial numbers PacketSerial-QueueLength .. PacketSerial-1,
// so a copy is accepted only when both counters stayed the same, two copies agree and the serial numbers
// run on without a gap up to PacketSerial-1.
#pragma once

#include <cstdint>
#include <vector>

#include "records.h"

namespace wt32 {

// Reads of the shared block, one field or entry at a time.
class SharedQueueView {
  public:
    virtual ~SharedQueueView() = default;
    virtual uint32_t Length() = 0;
    virtual uint32_t Serial() = 0;
    virtual void Entry(uint32_t index, wintab::PACKET* out) = 0;
};

// A consistent copy of the queued packets, oldest first; false when `attempts` tries were all torn.
bool ReadSharedQueue(SharedQueueView& view, std::vector<wintab::PACKET>& out, int attempts);

// Remembers which serial numbers were taken, so a packet is passed on once however often it is read.
class PacketTaker {
  public:
    // The packets of `snapshot` not taken before, oldest first.
    std::vector<wintab::PACKET> TakeNew(const std::vector<wintab::PACKET>& snapshot);

  private:
    bool any_ = false;
    uint32_t next_ = 0;
};

}  // namespace wt32
