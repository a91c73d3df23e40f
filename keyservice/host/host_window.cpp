#include "host_window.h"

namespace keyhost {
namespace {

// Logoff waits for this handler; the device thread ends within moments of the quit event.
constexpr DWORD kEndSessionWaitMs = 5000;

HANDLE g_deviceThread = nullptr;
HANDLE g_quitEvent = nullptr;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) {
                SetEvent(g_quitEvent);
                WaitForSingleObject(g_deviceThread, kEndSessionWaitMs);
            }
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateHostWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kHostWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
}

}  // namespace

void RunUntilThreadEnds(HANDLE deviceThread, HANDLE quitEvent) {
    g_deviceThread = deviceThread;
    g_quitEvent = quitEvent;
    HWND window = CreateHostWindow();
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &deviceThread, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) break;  // the thread ended, or the wait failed
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    if (window != nullptr) DestroyWindow(window);
}

}  // namespace keyhost
