#include "client_table.h"

namespace ktpen {

void ClientTable::RegisterClient(pz::WintabContextBlock* block) {
    for (pz::WintabContextBlock*& slot : slots_) {
        if (slot == nullptr) {
            slot = block;
            return;
        }
    }
}

void ClientTable::UnregisterClient(const pz::WintabContextBlock* block) {
    for (pz::WintabContextBlock*& slot : slots_) {
        if (slot == block) {
            slot = nullptr;
            return;
        }
    }
}

pz::WintabContextBlock* ClientTable::FindOtherClient(const pz::WintabContextBlock* block) const {
    for (pz::WintabContextBlock* slot : slots_)
        if (slot != nullptr && slot != block) return slot;
    return nullptr;
}

}  // namespace ktpen
