#include "packet_format.h"

#include <cstring>

#include "wintab_constants.h"

namespace wt32 {
namespace {

using namespace wintab;

// The 32-bit fields after pkContext, in PACKET order, with their data bits.
struct Field {
    uint32_t bit;
    size_t offset;
    uint32_t words;
};
constexpr Field kFields[] = {
    {PK_STATUS, offsetof(PACKET, pkStatus), 1},
    {PK_TIME, offsetof(PACKET, pkTime), 1},
    {PK_CHANGED, offsetof(PACKET, pkChanged), 1},
    {PK_SERIAL_NUMBER, offsetof(PACKET, pkSerialNumber), 1},
    {PK_CURSOR, offsetof(PACKET, pkCursor), 1},
    {PK_BUTTONS, offsetof(PACKET, pkButtons), 1},
    {PK_X, offsetof(PACKET, pkX), 1},
    {PK_Y, offsetof(PACKET, pkY), 1},
    {PK_Z, offsetof(PACKET, pkZ), 1},
    {PK_NORMAL_PRESSURE, offsetof(PACKET, pkNormalPressure), 1},
    {PK_TANGENT_PRESSURE, offsetof(PACKET, pkTangentPressure), 1},
    {PK_ORIENTATION, offsetof(PACKET, pkOrientation), 3},
    {PK_ROTATION, offsetof(PACKET, pkRotation), 3},
};

uint32_t RelativeButtons(uint32_t now, uint32_t before) {
    const uint32_t changed = now ^ before;
    for (uint32_t button = 0; button < 32; ++button) {
        const uint32_t bit = 1u << button;
        if (changed & bit) return ((now & bit) ? TBN_DOWN : TBN_UP) << 16 | button;
    }
    return TBN_NONE;
}

}  // namespace

uint32_t PacketSize(uint32_t packetData, uint32_t handleSize) {
    uint32_t size = (packetData & PK_CONTEXT) ? handleSize : 0;
    for (const Field& field : kFields)
        if (packetData & field.bit) size += 4 * field.words;
    if (packetData & PK_CONTEXT) size = (size + handleSize - 1) / handleSize * handleSize;
    return size;
}

uint32_t PackPacket(const PACKET& packet, uint64_t contextHandle, uint32_t packetData, uint32_t handleSize,
                    uint8_t* out) {
    const uint32_t size = PacketSize(packetData, handleSize);
    std::memset(out, 0, size);
    uint8_t* at = out;
    if (packetData & PK_CONTEXT) {
        std::memcpy(at, &contextHandle, handleSize);  // little-endian: the low bytes come first
        at += handleSize;
    }
    const auto* source = reinterpret_cast<const uint8_t*>(&packet);
    for (const Field& field : kFields) {
        if (!(packetData & field.bit)) continue;
        std::memcpy(at, source + field.offset, 4 * field.words);
        at += 4 * field.words;
    }
    return size;
}

PACKET ApplyPacketMode(const PACKET& packet, const PACKET& previous, uint32_t packetMode) {
    PACKET result = packet;
    auto relative = [&](uint32_t bit, int32_t& field, int32_t before) {
        if (packetMode & bit)
            field = static_cast<int32_t>(static_cast<uint32_t>(field) - static_cast<uint32_t>(before));
    };
    relative(PK_X, result.pkX, previous.pkX);
    relative(PK_Y, result.pkY, previous.pkY);
    relative(PK_Z, result.pkZ, previous.pkZ);
    if (packetMode & PK_NORMAL_PRESSURE) result.pkNormalPressure = packet.pkNormalPressure - previous.pkNormalPressure;
    if (packetMode & PK_TANGENT_PRESSURE)
        result.pkTangentPressure = packet.pkTangentPressure - previous.pkTangentPressure;
    relative(PK_ORIENTATION, result.pkOrientation.orAzimuth, previous.pkOrientation.orAzimuth);
    relative(PK_ORIENTATION, result.pkOrientation.orAltitude, previous.pkOrientation.orAltitude);
    relative(PK_ORIENTATION, result.pkOrientation.orTwist, previous.pkOrientation.orTwist);
    relative(PK_ROTATION, result.pkRotation.roPitch, previous.pkRotation.roPitch);
    relative(PK_ROTATION, result.pkRotation.roRoll, previous.pkRotation.roRoll);
    relative(PK_ROTATION, result.pkRotation.roYaw, previous.pkRotation.roYaw);
    if (packetMode & PK_BUTTONS) result.pkButtons = RelativeButtons(packet.pkButtons, previous.pkButtons);
    return result;
}

}  // namespace wt32
