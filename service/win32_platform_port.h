// The pen pipeline's platform on Win32: the pointer library's mouse_eventEx, the system's mouse_event,
// PostMessageA, the performance counter, the tick count and Sleep.
#pragma once

#include <windows.h>

#include <atomic>

#include "platform_port.h"

namespace ktpen {

// mouse_eventEx of "KTPEN.dll": the caller cleans the stack; the last two slots carry the 5-byte last
// sent state {buttons, X, Y}, bytes 0-3 in the first and byte 4 in the low byte of the second.
using MouseEventExFn = void(__cdecl*)(DWORD flags, DWORD dx, DWORD dy, DWORD data, DWORD stateLow, DWORD stateHigh);

class Win32PlatformPort : public PlatformPort {
  public:
    // The reader sets the function it loaded and clears it before it unloads the library.
    void SetPointerFunction(MouseEventExFn function) { mouseEventEx_.store(function); }

    void PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState& state) override;
    void SystemMouseEvent(uint32_t flags, int32_t dx, int32_t dy) override;
    void Post(PostTarget target, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) override;
    uint64_t PerformanceCounter() override;
    uint64_t PerformanceFrequency() override;
    uint32_t TickCount() override;
    void Sleep(uint32_t milliseconds) override;

  private:
    std::atomic<MouseEventExFn> mouseEventEx_{nullptr};
};

}  // namespace ktpen
