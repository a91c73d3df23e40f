// Packets as a drawing program asked for them: relative fields per lcPktMode, then only the fields of
// lcPktData, packed in the PACKET order with a context handle of the program's pointer width.
#pragma once

#include <cstdint>

#include "wintab_types.h"

namespace wt32 {

// Bytes of one packet for `packetData`; `handleSize` is 4 in 32-bit programs and 8 in 64-bit ones (the
// handle then aligns the whole packet to 8 bytes).
uint32_t PacketSize(uint32_t packetData, uint32_t handleSize);

// Writes `packet` as `packetData` asks, with `contextHandle` as pkContext; returns the bytes written.
uint32_t PackPacket(const wintab::PACKET& packet, uint64_t contextHandle, uint32_t packetData, uint32_t handleSize,
                    uint8_t* out);

// The packet with the fields of `packetMode` made relative to `previous`: differences for the axes,
// pressures, orientation and rotation; for the buttons the change, the lowest changed button's number in
// the low word and TBN_DOWN or TBN_UP in the high word (TBN_NONE and 0 when none changed).
wintab::PACKET ApplyPacketMode(const wintab::PACKET& packet, const wintab::PACKET& previous, uint32_t packetMode);

}  // namespace wt32
