// What the pen pipeline needs from the platform. The service wires it to Win32; tests and the replay
// tool wire it to recorders and a simulated clock.
#pragma once

#include <cstdint>

namespace ktpen {

// Buttons and smoothed tablet position of the last sample passed on; it travels with every pointer event.
struct LastSentState {
    uint8_t buttons = 0;
    uint16_t x = 0;
    uint16_t y = 0;
};

// Who a posted message is meant for; the window handle is passed as well.
enum class PostTarget { PositionWindow, ClientWindow };

class PlatformPort {
  public:
    virtual ~PlatformPort() = default;
    // mouse_eventEx of the pointer library: flags, dx, dy, data 0, and the last sent state.
    virtual void PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState& state) = 0;
    // The system's mouse_event, used only when the watchdog releases a held tip.
    virtual void SystemMouseEvent(uint32_t flags, int32_t dx, int32_t dy) = 0;
    virtual void Post(PostTarget target, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) = 0;
    virtual uint64_t PerformanceCounter() = 0;
    virtual uint64_t PerformanceFrequency() = 0;
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace ktpen
