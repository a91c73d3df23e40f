#include "context_state.h"

#include "info_answers.h"
#include "packet_format.h"
#include "wintab_constants.h"

namespace wt32 {

wintab::LOGCONTEXTA ServiceContextFor(const wintab::LOGCONTEXTA& context) {
    wintab::LOGCONTEXTA shared = context;
    shared.lcOptions = (context.lcOptions & (wintab::CXO_SYSTEM | wintab::CXO_CSRMESSAGES)) | wintab::CXO_MESSAGES;
    shared.lcMsgBase = wintab::WT_DEFBASE;
    // The service scales over the far end minus the origin and leaves the origin out; given a zero origin it
    // scales over the extent, and the library adds the origin to each packet.
    shared.lcOutOrgX = shared.lcOutOrgY = 0;
    return shared;
}

std::vector<uint32_t> ContextState::Accept(const std::vector<wintab::PACKET>& snapshot) {
    std::vector<uint32_t> serials;
    for (const wintab::PACKET& fresh : taker_.TakeNew(snapshot)) {
        wintab::PACKET packet = fresh;
        if (packet.pkCursor == kEraserCursor) packet.pkStatus |= TPS_INVERT;
        packet.pkX += context_.lcOutOrgX;
        packet.pkY += context_.lcOutOrgY;
        queue_.Push(ApplyPacketMode(packet, previous_, context_.lcPktMode));
        previous_ = packet;
        newest_ = packet.pkSerialNumber;
        serials.push_back(packet.pkSerialNumber);
    }
    return serials;
}

}  // namespace wt32
