#include "key_service_state.h"

namespace ktkey {

HANDLE g_keypadHandle = nullptr;
uint8_t g_currentReport[kKeypadReportLength] = {};
uint8_t g_previousReport[kKeypadReportLength] = {};
HANDLE g_quitEvent = nullptr;

namespace {
// One value for all processes that load the library, so that a host window set in one process receives
// the keys a device thread in another reads. Stored as 32 bits in every build.
volatile uint32_t AppWindow __attribute__((section(".shared"), shared)) = 0;
}  // namespace

HWND ApplicationWindow() {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(AppWindow)));
}

void SetApplicationWindow(HWND window) {
    AppWindow = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}

}  // namespace ktkey
