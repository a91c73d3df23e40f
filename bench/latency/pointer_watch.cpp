#include "pointer_watch.h"

#include "expected_effects.h"

namespace {

// A low-level hook procedure gets no context of its own; one watch runs per process.
std::vector<pzbench::Arrival>* g_arrivals = nullptr;

bool ActionOfMessage(WPARAM message, pzbench::PointerAction& action) {
    switch (message) {
        case WM_MOUSEMOVE:
            action = pzbench::PointerAction::Move;
            return true;
        case WM_LBUTTONDOWN:
            action = pzbench::PointerAction::LeftDown;
            return true;
        case WM_LBUTTONUP:
            action = pzbench::PointerAction::LeftUp;
            return true;
        case WM_RBUTTONDOWN:
            action = pzbench::PointerAction::RightDown;
            return true;
        case WM_RBUTTONUP:
            action = pzbench::PointerAction::RightUp;
            return true;
        default:
            return false;
    }
}

}  // namespace

LRESULT CALLBACK PointerWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);  // first, so that the bookkeeping below is not measured
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    pzbench::PointerAction action;
    if (code == HC_ACTION && (info->flags & LLMHF_INJECTED) && ActionOfMessage(wParam, action))
        g_arrivals->push_back({static_cast<uint32_t>(action), info->pt.x, info->pt.y, now.QuadPart, now.QuadPart});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI PointerWatch::Thread(void* parameter) {
    auto* self = static_cast<PointerWatch*>(parameter);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, Hook, GetModuleHandleA(nullptr), 0);
    self->hooked_ = hook != nullptr;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before Stop can post to it
    SetEvent(self->ready_);
    if (hook == nullptr) return 1;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    UnhookWindowsHookEx(hook);
    return 0;
}

bool PointerWatch::Start() {
    if (g_arrivals != nullptr) return false;
    g_arrivals = &arrivals_;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, &threadId_);
    if (thread_ == nullptr) return false;
    WaitForSingleObject(ready_, INFINITE);
    return hooked_;
}

void PointerWatch::Stop() {
    if (thread_ != nullptr) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (ready_ != nullptr) CloseHandle(ready_);
    ready_ = nullptr;
    if (g_arrivals == &arrivals_) g_arrivals = nullptr;
}
