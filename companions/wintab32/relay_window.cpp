#include "relay_window.h"

#include "context_registry.h"
#include "wintab_constants.h"

namespace wt32 {
namespace {

HANDLE g_thread = nullptr;
HWND g_window = nullptr;

// Messages from the service: WT_PACKET (1, ContextId), WT_PROXIMITY (ContextId, proximity) and
// WT_CSRCHANGE (1, ContextId).
void Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    RegistryLock lock;
    const uint32_t contextId = static_cast<uint32_t>(message == wintab::WT_PROXIMITY ? wParam : lParam);
    OpenContext* context = FindContextById(contextId);
    if (context == nullptr) return;
    PullPackets(*context);  // packets queued before a proximity change reach the program first
    const auto handle = static_cast<WPARAM>(context->handle);
    if (message == wintab::WT_PROXIMITY) PostToProgram(*context, kMsgProximity, handle, lParam);
    if (message == wintab::WT_CSRCHANGE && (context->state.Context().lcOptions & wintab::CXO_CSRMESSAGES))
        PostToProgram(*context, kMsgCsrChange, context->state.NewestSerial(), static_cast<LPARAM>(handle));
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == wintab::WT_PACKET || message == wintab::WT_PROXIMITY || message == wintab::WT_CSRCHANGE) {
        Relay(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI Thread(void* ready) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PzWintabRelay";
    RegisterClassA(&windowClass);
    g_window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    if (g_window == nullptr) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(g_window);
    g_window = nullptr;
    return 0;
}

}  // namespace

HWND RelayWindow() {
    if (g_thread != nullptr) return g_window;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_thread = CreateThread(nullptr, 0, Thread, ready, 0, nullptr);
    if (g_thread != nullptr) {
        // Packets are the program's pen strokes: move them on as soon as the service posts.
        SetThreadPriority(g_thread, THREAD_PRIORITY_HIGHEST);
        WaitForSingleObject(ready, INFINITE);
    }
    CloseHandle(ready);
    return g_window;
}

void StopRelay() {
    if (g_thread == nullptr) return;
    if (g_window != nullptr) PostMessageA(g_window, WM_QUIT, 0, 0);
    WaitForSingleObject(g_thread, 5000);
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_window = nullptr;
}

}  // namespace wt32
