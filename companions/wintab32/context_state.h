// What the library keeps for one open context besides its connection: the program's context, its own
// queue, and the step from the service's packets to the program's.
#pragma once

#include <cstdint>
#include <vector>

#include "context_queue.h"
#include "shared_queue_reader.h"
#include "wintab_types.h"

namespace wt32 {

// The context the service gets for a program's context: the program's own, except that packets are
// always announced (the library's window moves them on), only the options the service knows remain, and
// the output origin is 0 (the library adds it).
wintab::LOGCONTEXTA ServiceContextFor(const wintab::LOGCONTEXTA& context);

class ContextState {
  public:
    explicit ContextState(const wintab::LOGCONTEXTA& context) : context_(context) {}

    const wintab::LOGCONTEXTA& Context() const { return context_; }
    void SetContext(const wintab::LOGCONTEXTA& context) { context_ = context; }
    ContextQueue& Queue() { return queue_; }
    const ContextQueue& Queue() const { return queue_; }

    // Queues the packets of a shared-queue copy not seen before, moved by the program's output origin and
    // in its packet mode; returns their serial numbers, oldest first.
    std::vector<uint32_t> Accept(const std::vector<wintab::PACKET>& snapshot);

    // Serial number of the newest packet accepted (0 before any).
    uint32_t NewestSerial() const { return newest_; }

  private:
    wintab::LOGCONTEXTA context_;
    ContextQueue queue_;
    PacketTaker taker_;
    wintab::PACKET previous_{};  // the last packet as the service gave it, for relative fields
    uint32_t newest_ = 0;
};

}  // namespace wt32
