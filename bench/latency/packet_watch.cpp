#include "packet_watch.h"

namespace {

constexpr uint32_t kPacketData = wintab::PK_SERIAL_NUMBER | wintab::PK_BUTTONS | wintab::PK_X | wintab::PK_Y;
constexpr uint32_t kDefaultSystemContext = 4;  // WTI_DEFSYSCTX
constexpr DWORD kOpenRetryMs = 200;
constexpr char kWindowClass[] = "PzLatencyProbe";

// The fields of kPacketData in the packet order.
struct Packet {
    uint32_t serial;
    uint32_t buttons;
    int32_t x;
    int32_t y;
};

}  // namespace

namespace {

// GetProcAddress's generic pointer as the function type it really is.
template <typename Function>
Function Lookup(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool PacketWatch::LoadFunctions(const std::string& path) {
    library_ = LoadLibraryA(path.c_str());
    if (library_ == nullptr) return false;
    info_ = Lookup<InfoFn>(library_, "WTInfoA");
    open_ = Lookup<OpenFn>(library_, "WTOpenA");
    close_ = Lookup<CloseFn>(library_, "WTClose");
    packet_ = Lookup<PacketFn>(library_, "WTPacket");
    get_ = Lookup<GetFn>(library_, "WTGetA");
    return info_ && open_ && close_ && packet_;
}

// The whole tablet in tablet units, Y growing downwards, driving the system cursor as well: the packets
// then carry the pipeline's smoothed positions and the pointer events still flow.
bool PacketWatch::Open(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        wintab::LOGCONTEXTA context{};
        if (info_(kDefaultSystemContext, 0, &context) == sizeof context) {
            lstrcpynA(context.lcName, "latency_probe", sizeof context.lcName);
            context.lcOptions |= wintab::CXO_SYSTEM | wintab::CXO_MESSAGES;
            context.lcPktData = kPacketData;
            context.lcPktMode = 0;
            context.lcMoveMask = kPacketData;
            context.lcOutOrgX = context.lcOutOrgY = 0;
            context.lcOutExtX = 10206;
            context.lcOutExtY = -7422;
            handle_ = open_(window, &context, TRUE);
            if (handle_ != nullptr) {
                if (get_ == nullptr || !get_(handle_, &context_)) context_ = context;
                return true;
            }
        }
        Sleep(kOpenRetryMs);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

void PacketWatch::OnPacket(UINT serial, void* context) {
    LARGE_INTEGER arrived, read;
    QueryPerformanceCounter(&arrived);
    Packet packet{};
    const bool got = packet_(context, serial, &packet);
    QueryPerformanceCounter(&read);
    if (got)
        arrivals_.push_back({packet.buttons, packet.x, packet.y, arrived.QuadPart, read.QuadPart});
    else
        ++unread_;
}

LRESULT CALLBACK PacketWatch::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PacketWatch*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == wintab::WT_PACKET && self != nullptr) {
        self->OnPacket(static_cast<UINT>(wParam), reinterpret_cast<void*>(lParam));
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI PacketWatch::Thread(void* parameter) {
    auto* self = static_cast<PacketWatch*>(parameter);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    self->window_ = CreateWindowExA(0, kWindowClass, "latency_probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 120, nullptr,
                                    nullptr, windowClass.hInstance, nullptr);
    if (self->window_ != nullptr) {
        SetWindowLongPtrA(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ShowWindow(self->window_, SW_SHOWNOACTIVATE);
        self->opened_ = self->Open(self->window_, self->timeoutMs_);
    }
    SetEvent(self->ready_);
    if (!self->opened_) {
        if (self->window_ != nullptr) DestroyWindow(self->window_);
        return 1;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    self->close_(self->handle_);
    return 0;
}

bool PacketWatch::Start(const std::string& libraryPath, DWORD timeoutMs, std::string& error) {
    if (!LoadFunctions(libraryPath)) {
        error = "cannot load the Wintab functions of " + libraryPath;
        return false;
    }
    timeoutMs_ = timeoutMs;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
    if (thread_ == nullptr) return false;
    WaitForSingleObject(ready_, INFINITE);
    if (!opened_) error = "no Wintab context opened (is the tablet service running?)";
    return opened_;
}

void PacketWatch::Stop() {
    if (thread_ != nullptr) {
        if (opened_) PostMessageA(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (ready_ != nullptr) CloseHandle(ready_);
    ready_ = nullptr;
    if (library_ != nullptr) FreeLibrary(library_);
    library_ = nullptr;
}
