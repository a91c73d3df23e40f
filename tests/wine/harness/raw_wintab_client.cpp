#include "raw_wintab_client.h"

#include "object_names.h"

namespace rawwintab {
namespace {

constexpr DWORD kConnectTimeoutMs = 5000;
constexpr UINT kFirstWintabMessage = 0x7FF0;
constexpr UINT kLastWintabMessage = 0x7FFF;

HANDLE AsHandle(uint32_t value) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

HANDLE DuplicateFrom(HANDLE service, uint32_t value) {
    HANDLE copy = nullptr;
    if (!DuplicateHandle(service, AsHandle(value), GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

// A copy of the control block as it stands, or false when there is none.
bool ReadControlBlock(pz::WintabControlBlock& copy) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, pz::kWintabControlBlockName);
    if (mapping == nullptr) return false;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof copy);
    if (view != nullptr) {
        copy = *static_cast<const pz::WintabControlBlock*>(view);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return view != nullptr;
}

bool ProcessAlive(DWORD processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return false;
    const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return alive;
}

}  // namespace

DWORD WaitForServer(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        pz::WintabControlBlock control{};
        if (ReadControlBlock(control) && control.SyncEventHandle != 0 && ProcessAlive(control.ServerProcessId))
            return control.ServerProcessId;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return 0;
}

RawClient::~RawClient() {
    Close();
}

bool RawClient::Connect() {
    pz::WintabControlBlock control{};
    if (!ReadControlBlock(control)) return false;
    HANDLE service = OpenProcess(PROCESS_DUP_HANDLE, FALSE, control.ServerProcessId);
    if (service == nullptr) return false;
    HANDLE request = DuplicateFrom(service, control.RequestEventHandle);
    HANDLE sync = DuplicateFrom(service, control.SyncEventHandle);
    bool connected = request != nullptr && sync != nullptr &&
                     SignalObjectAndWait(request, sync, kConnectTimeoutMs, FALSE) == WAIT_OBJECT_0 &&
                     ReadControlBlock(control);
    if (connected) {
        mapping_ = DuplicateFrom(service, control.ContextMappingHandle);
        closeEvent_ = DuplicateFrom(service, control.CloseEventHandle);
        commandEvent_ = DuplicateFrom(service, control.CommandEventHandle);
        clientEvent_ = DuplicateFrom(service, control.ClientEventHandle);
        if (mapping_ != nullptr)
            block_ = static_cast<pz::WintabContextBlock*>(
                MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, pz::kWintabContextBlockSize));
        connected = block_ != nullptr && closeEvent_ != nullptr && commandEvent_ != nullptr && clientEvent_ != nullptr;
    }
    for (HANDLE handle : {request, sync, service})
        if (handle != nullptr) CloseHandle(handle);
    if (!connected) Release();
    return connected;
}

void RawClient::Command(uint32_t code) {
    block_->Command = code;
    SetEvent(commandEvent_);
}

void RawClient::Close() {
    if (closeEvent_ != nullptr) SetEvent(closeEvent_);
    Release();
}

void RawClient::Release() {
    if (block_ != nullptr) UnmapViewOfFile(block_);
    block_ = nullptr;
    for (HANDLE* handle : {&mapping_, &closeEvent_, &commandEvent_, &clientEvent_}) {
        if (*handle != nullptr) CloseHandle(*handle);
        *handle = nullptr;
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

MessageWindow::MessageWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RawWintabClientWindow";
    RegisterClassA(&windowClass);  // fails harmlessly when registered already
    window_ = CreateWindowA("RawWintabClientWindow", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
}

MessageWindow::~MessageWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

std::vector<WintabMessage> MessageWindow::Received(UINT message) const {
    std::vector<WintabMessage> result;
    for (const WintabMessage& m : received_)
        if (m.message == message) result.push_back(m);
    return result;
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message >= kFirstWintabMessage && message <= kLastWintabMessage) {
        self->received_.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace rawwintab
