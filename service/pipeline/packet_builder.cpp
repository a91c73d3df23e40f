#include "packet_builder.h"

#include <atomic>
#include <cstring>

#include "pressure_curve.h"
#include "report_record.h"
#include "settings_file.h"

namespace ktpen {
namespace {

bool ContextIsLive(const pz::WintabContextBlock* context) {
    return context != nullptr && context->Enabled != 0;
}

// Products in 64 bits: a client may ask for output extents that overflow 32 bits when multiplied.
int32_t ScaleAxis(int64_t value, int64_t span, int64_t tabletExtent) {
    return static_cast<int32_t>(value * span / tabletExtent);
}

}  // namespace

void PostToClient(PlatformPort& port, const pz::WintabContextBlock& context, uint32_t message, uint32_t wParam,
                  uint32_t lParam) {
    // A null window would post into the reader thread's own queue, where nobody reads.
    if (context.ClientWindow != 0) port.Post(PostTarget::ClientWindow, context.ClientWindow, message, wParam, lParam);
}

void AnnounceProximity(PlatformPort& port, const pz::WintabContextBlock& context, uint32_t lParam) {
    PostToClient(port, context, wintab::WT_PROXIMITY, context.ContextId, lParam);
    if (context.Context.lcOptions & wintab::CXO_CSRMESSAGES)
        PostToClient(port, context, wintab::WT_CSRCHANGE, 1, context.ContextId);
}

void PacketBuilder::Enter(pz::WintabContextBlock* context, const uint8_t* record, uint16_t x, uint16_t y, uint32_t time,
                          const PacketEnvironment& env) {
    context->QueueLength = 0;
    BuildPacket(context, x, y, 0, record, time, env);
    AnnounceProximity(env.port, *context, kProximityEnter);
}

void PacketBuilder::InRange(pz::WintabContextBlock* context, const uint8_t* record, bool penWasOut, uint16_t x,
                            uint16_t y, uint32_t time, const PacketEnvironment& env) {
    if (!ContextIsLive(context)) return;
    if (penWasOut) Enter(context, record, x, y, time, env);
    int pressure = ScaleRawPressure(GetU16(record, kPressureOffset), env.pressureMaximum);
    const uint8_t buttons = Buttons(record[kStatusOffset]);
    if (buttons == kTipButton && pressure == 0) pressure = 1;
    if (buttons == (kTipButton | kSideButton)) pressure = 0;
    BuildPacket(context, x, y, pressure, record, time, env);
}

void PacketBuilder::OutOfRange(pz::WintabContextBlock* context, const uint8_t* record, bool penWasOut, uint32_t time,
                               const PacketEnvironment& env) {
    if (!ContextIsLive(context)) return;
    const uint16_t x = GetU16(record, kXOffset), y = GetU16(record, kYOffset);
    if (penWasOut) Enter(context, record, x, y, time, env);
    BuildPacket(context, x, y, 0, record, time, env);
    AnnounceProximity(env.port, *context, kProximityLeave);
}

void PacketBuilder::BuildPacket(pz::WintabContextBlock* context, uint16_t x, uint16_t y, int pressure,
                                const uint8_t* record, uint32_t time, const PacketEnvironment& env) {
    if (context == nullptr) return;
    const wintab::LOGCONTEXTA& lc = context->Context;
    const int32_t px = ScaleAxis(x, int64_t{lc.lcOutExtX} - lc.lcOutOrgX, pz::kTabletMaxX);
    int32_t py;
    if (lc.lcOutExtY < 0) {
        // The context asked for Y growing downwards, as on the tablet.
        py = ScaleAxis(y, int64_t{lc.lcOutOrgY} - lc.lcOutExtY, pz::kTabletMaxY);
    } else {
        // In 64 bits: a context with extreme extents must not overflow; the packet keeps the low 32 bits.
        py = static_cast<int32_t>(int64_t{lc.lcOutExtY} -
                                  ScaleAxis(y, int64_t{lc.lcOutExtY} - lc.lcOutOrgY, pz::kTabletMaxY));
    }
    if (env.penDeclaredGone) {
        PostToClient(env.port, *context, wintab::WT_PROXIMITY, context->ContextId, kProximityEnter);
        context->QueueLength = 0;
    }
    const uint8_t status = record[kStatusOffset];
    const uint32_t cursor = (status & 0xF0) == kEraserEndInRange ? 2 : 1;
    const uint8_t buttons = Buttons(status);
    const int curved = ApplyPressureCurve(pressure, env.pressureLevel, buttons);
    EnqueuePacket(context, cursor, buttons, px, py, curved, time);
    if (context->Context.lcOptions & wintab::CXO_MESSAGES)
        PostToClient(env.port, *context, wintab::WT_PACKET, 1, context->ContextId);
}

uint32_t PacketBuilder::EnqueuePacket(pz::WintabContextBlock* context, uint32_t cursor, uint32_t buttons, int32_t x,
                                      int32_t y, int pressure, uint32_t time) {
    pz::QueuedPacket* queue = context->PacketQueue;
    uint32_t length = context->QueueLength;
    if (length >= pz::kPacketQueueCapacity) {
        std::memmove(&queue[0], &queue[1], sizeof(pz::QueuedPacket) * (pz::kPacketQueueCapacity - 1));
        length = pz::kPacketQueueCapacity - 1;
        context->QueueLength = length;
    }
    wintab::PACKET& packet = queue[length].Packet;
    uint32_t changed = 0;
    if (static_cast<int32_t>(lastX_) != x) changed |= 0x80;
    if (static_cast<int32_t>(lastY_) != y) changed |= 0x100;
    if (lastTime_ != time) changed |= 0x40;
    if (static_cast<int32_t>(lastPressure_) != pressure) changed |= 0x600;
    if (lastButtons_ != buttons) changed |= 0x60;
    if (lastCursor_ != cursor) changed |= 0x20;

    packet.pkContext = context->ContextId;
    packet.pkStatus = 0;
    packet.pkTime = time;
    packet.pkChanged = changed;
    packet.pkSerialNumber = context->PacketSerial;
    packet.pkCursor = cursor;
    packet.pkButtons = buttons;
    packet.pkX = x;
    packet.pkY = y;
    packet.pkZ = 0;
    packet.pkNormalPressure = buttons != 0 ? static_cast<uint32_t>(pressure) : 0;
    packet.pkTangentPressure = 0;
    packet.pkOrientation = {0, cursor == 2 ? -900 : 900, 0};

    lastX_ = static_cast<uint16_t>(x);
    lastY_ = static_cast<uint16_t>(y);
    lastButtons_ = static_cast<uint16_t>(buttons);
    lastCursor_ = static_cast<uint16_t>(cursor);
    lastPressure_ = static_cast<uint16_t>(pressure);
    lastTime_ = time;
    // The client reads the queue while we write it: the entry must be complete before it counts.
    std::atomic_thread_fence(std::memory_order_release);
    context->QueueLength = length + 1;
    context->PacketSerial = context->PacketSerial + 1;
    if (observer_ != nullptr) observer_->OnPacketQueued(length, packet, length + 1);
    return length;
}

}  // namespace ktpen
