#include "wintab_clients.h"

namespace ktpen {

void WintabClients::Connect(pz::WintabContextBlock* block) {
    current_ = block;
    table_.RegisterClient(block);
}

void WintabClients::HandOver(const pz::WintabContextBlock* block) {
    current_ = table_.FindOtherClient(block);
    if (current_ != nullptr) current_->Enabled = 1;
}

void WintabClients::Command(pz::WintabContextBlock* block, uint32_t command) {
    switch (command) {
        case pz::kCommandEnable:
            block->Enabled = 1;
            current_ = block;
            break;
        case pz::kCommandDisable:
            HandOver(block);
            block->Enabled = 0;
            break;
        case pz::kCommandMakeCurrent:
            current_ = block;
            break;
        default:
            break;
    }
}

void WintabClients::Close(pz::WintabContextBlock* block) {
    if (current_ == block)
        HandOver(block);
    else if (current_ != nullptr)
        current_->Enabled = 1;
    table_.UnregisterClient(block);
}

void WintabClients::Stop(pz::WintabContextBlock* block) {
    current_ = nullptr;
    table_.UnregisterClient(block);
}

}  // namespace ktpen
