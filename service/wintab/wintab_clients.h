// The connected Wintab clients and which one's block is the current context, the one the pen pipeline
// feeds: the rules of connecting, of the switching commands and of closing, with the Enabled flags that
// go with each change. Not thread-safe: the server calls it under its lock and then hands Current() to
// the pen pipeline.
#pragma once

#include <cstdint>

#include "client_table.h"
#include "records.h"

namespace ktpen {

class WintabClients {
  public:
    pz::WintabContextBlock* Current() const { return current_; }

    // A new connection's block becomes current at once (still disabled) and takes a free slot.
    void Connect(pz::WintabContextBlock* block);
    // Commands 256 (enable and make current), 257 (hand over to the first other client and disable)
    // and 258 (make current); every other code is ignored here.
    void Command(pz::WintabContextBlock* block, uint32_t command);
    // The client closed or went away: a current block hands over to the first other client, which is
    // enabled; otherwise the current block is enabled. The block leaves the table.
    void Close(pz::WintabContextBlock* block);
    // The service stops: nothing is current any more and the block leaves the table.
    void Stop(pz::WintabContextBlock* block);

  private:
    // Makes the first client other than `block` current and enabled; none when there is no other.
    void HandOver(const pz::WintabContextBlock* block);

    ClientTable table_;
    pz::WintabContextBlock* current_ = nullptr;
};

}  // namespace ktpen
