#include "client_watch.h"

namespace ktpen {
namespace {

HWND AsWindow(uint32_t value) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

}  // namespace

ClientWatch::~ClientWatch() {
    Forget();
}

void ClientWatch::Forget() {
    if (process_ != nullptr) CloseHandle(process_);
    process_ = nullptr;
    seen_ = false;
    window_ = 0;
}

void ClientWatch::Look(uint32_t clientWindow) {
    Forget();
    window_ = clientWindow;
    DWORD processId = 0;
    GetWindowThreadProcessId(AsWindow(clientWindow), &processId);
    if (processId == 0) return;
    seen_ = true;
    process_ = OpenProcess(SYNCHRONIZE, FALSE, processId);
}

bool ClientWatch::StillThere(uint32_t clientWindow) {
    if (clientWindow == 0) return true;
    if (clientWindow != window_ || !seen_) Look(clientWindow);
    // A named window that is no window (any more) before its process was learnt: the client died with it,
    // or names a window no message could reach.
    if (!seen_) return false;
    // The process outlives a window the client may replace; only without it does the window tell.
    if (process_ != nullptr) return WaitForSingleObject(process_, 0) != WAIT_OBJECT_0;
    return IsWindow(AsWindow(clientWindow)) != FALSE;
}

}  // namespace ktpen
