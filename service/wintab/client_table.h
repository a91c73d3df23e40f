// The Wintab clients that can take over as the current context: ten slots of mapped context blocks. A
// client that connects while every slot is taken is served but never found here.
#pragma once

#include <array>
#include <cstddef>

#include "records.h"

namespace ktpen {

constexpr size_t kClientSlots = 10;

class ClientTable {
  public:
    // Puts the block into the first empty slot; nothing when the table is full.
    void RegisterClient(pz::WintabContextBlock* block);
    // Empties the slot that holds the block; nothing when it is absent.
    void UnregisterClient(const pz::WintabContextBlock* block);
    // The first registered block, in slot order, that is not `block`; nullptr when there is none.
    pz::WintabContextBlock* FindOtherClient(const pz::WintabContextBlock* block) const;

  private:
    std::array<pz::WintabContextBlock*, kClientSlots> slots_{};
};

}  // namespace ktpen
