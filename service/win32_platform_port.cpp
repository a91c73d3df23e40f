#include "win32_platform_port.h"

namespace ktpen {

void Win32PlatformPort::PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState& state) {
    MouseEventExFn function = mouseEventEx_.load();
    if (function == nullptr) return;
    const DWORD stateLow = state.buttons | static_cast<DWORD>(state.x) << 8 | static_cast<DWORD>(state.y & 0xFF) << 24;
    const DWORD stateHigh = static_cast<DWORD>(state.y >> 8);
    function(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), 0, stateLow, stateHigh);
}

void Win32PlatformPort::SystemMouseEvent(uint32_t flags, int32_t dx, int32_t dy) {
    mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), 0, 0);
}

void Win32PlatformPort::Post(PostTarget, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    PostMessageA(reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window))), message, wParam,
                 static_cast<LPARAM>(lParam));
}

uint64_t Win32PlatformPort::PerformanceCounter() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<uint64_t>(counter.QuadPart);
}

uint64_t Win32PlatformPort::PerformanceFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(frequency.QuadPart);
}

uint32_t Win32PlatformPort::TickCount() {
    return GetTickCount();
}

void Win32PlatformPort::Sleep(uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

}  // namespace ktpen
