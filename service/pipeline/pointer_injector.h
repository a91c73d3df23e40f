// Turns the pen's buttons and position into pointer events: the tip is the left button, the side
// button the right button, movement in range moves the pointer.
#pragma once

#include <cstdint>

#include "platform_port.h"
#include "screen_mapping.h"

namespace ktpen {

// Pointer event flags (absolute, virtual desktop, ...).
constexpr uint32_t kMove = 0xC001;
constexpr uint32_t kLeftDown = 0xC002;
constexpr uint32_t kLeftUp = 0xC004;
constexpr uint32_t kRightDown = 0x4008;
constexpr uint32_t kRightUp = 0x4010;
constexpr uint32_t kRightUpAbsolute = 0xC010;
constexpr uint32_t kWatchdogLeftUp = 0x4004;
constexpr uint32_t kRightUpAfterLoss = 0x4010;

class PointerInjector {
  public:
    // One sample in range with buttons b (previous p). `area` nullptr means the whole tablet. With
    // `moveSystemCursor` false (a Wintab context holds the pointer) no event is sent. Returns whether
    // the position lies inside the area.
    bool MapAndInject(const ActiveArea* area, uint16_t x, uint16_t y, uint8_t b, uint8_t p, bool moveSystemCursor,
                      const LastSentState& state, PlatformPort& port);
    // The pen left the range: release what the previous report held.
    void ReleaseOnLeave(uint8_t p, const LastSentState& state, PlatformPort& port);

    bool RightButtonDown() const { return rightButtonDown_; }

  private:
    void Inject(const DesktopPoint& point, uint8_t b, uint8_t p, const LastSentState& state, PlatformPort& port);
    void ReleaseOutsideArea(const ActiveArea& area, uint16_t x, uint16_t y, uint8_t b, uint8_t p,
                            const LastSentState& state, PlatformPort& port);

    bool rightButtonDown_ = false;
};

}  // namespace ktpen
