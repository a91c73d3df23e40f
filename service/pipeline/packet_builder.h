// Wintab packets for the current context: which packets are made when the pen is in range, leaves or
// enters, the values that go into them, and the proximity, cursor and packet messages.
#pragma once

#include <cstdint>

#include "platform_port.h"
#include "records.h"

namespace ktpen {

// Receives every packet right after it was queued (for the replay tool and tests).
class PacketObserver {
  public:
    virtual ~PacketObserver() = default;
    virtual void OnPacketQueued(uint32_t index, const wintab::PACKET& packet, uint32_t queueLength) = 0;
};

// What a packet depends on besides the report: the platform, the pressure curve and the watchdog.
struct PacketEnvironment {
    PlatformPort& port;
    uint16_t pressureLevel;    // 100 when there is no settings block
    uint16_t pressureMaximum;  // of the open tablet
    bool penDeclaredGone;      // the watchdog's quiet flag: announce the pen again first
};

constexpr uint32_t kProximityEnter = 0x10001;
constexpr uint32_t kProximityLeave = 0x10000;

class PacketBuilder {
  public:
    void SetObserver(PacketObserver* observer) { observer_ = observer; }

    // A sample in range and inside the active area, at smoothed position (x, y).
    void InRange(pz::WintabContextBlock* context, const uint8_t* record, bool penWasOut, uint16_t x, uint16_t y,
                 uint32_t time, const PacketEnvironment& env);
    // An out-of-range report.
    void OutOfRange(pz::WintabContextBlock* context, const uint8_t* record, bool penWasOut, uint32_t time,
                    const PacketEnvironment& env);
    // Scales the position to the context, bends the pressure, queues the packet and posts WT_PACKET.
    void BuildPacket(pz::WintabContextBlock* context, uint16_t x, uint16_t y, int pressure, const uint8_t* record,
                     uint32_t time, const PacketEnvironment& env);
    // Queues one packet (dropping the oldest of a full queue); returns the slot written.
    uint32_t EnqueuePacket(pz::WintabContextBlock* context, uint32_t cursor, uint32_t buttons, int32_t x, int32_t y,
                           int pressure, uint32_t time);

  private:
    void Enter(pz::WintabContextBlock* context, const uint8_t* record, uint16_t x, uint16_t y, uint32_t time,
               const PacketEnvironment& env);

    PacketObserver* observer_ = nullptr;
    // Values of the last packet of any context; they decide the change flags.
    uint16_t lastX_ = 0, lastY_ = 0, lastButtons_ = 0, lastCursor_ = 0, lastPressure_ = 0;
    uint32_t lastTime_ = 0;
};

// Posts a Wintab message to the context's window; a context without a window gets nothing.
void PostToClient(PlatformPort& port, const pz::WintabContextBlock& context, uint32_t message, uint32_t wParam,
                  uint32_t lParam);

// Announces the pen leaving: WT_PROXIMITY, and WT_CSRCHANGE when the context asked for cursor messages.
void AnnounceProximity(PlatformPort& port, const pz::WintabContextBlock& context, uint32_t lParam);

}  // namespace ktpen
