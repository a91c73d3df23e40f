// A Wintab client of its own: a window on a thread of its own with a context opened through the
// Wintab32.dll beside this program (ours, whatever the system has installed). Each WT_PACKET is stamped
// with the performance counter on arrival and again once WTPacket has read the packet it announces.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "latency_pairing.h"
#include "wintab_types.h"

class PacketWatch {
  public:
    explicit PacketWatch(size_t capacity) { arrivals_.reserve(capacity); }
    ~PacketWatch() { Stop(); }
    PacketWatch(const PacketWatch&) = delete;
    PacketWatch& operator=(const PacketWatch&) = delete;

    // Loads the library and opens the context, retrying while the service is not up yet; false with
    // `error` set when the library is missing or no context opened within `timeoutMs`.
    bool Start(const std::string& libraryPath, DWORD timeoutMs, std::string& error);
    void Stop();
    // The context as opened (output extent: the whole tablet in tablet units, Y growing downwards).
    const wintab::LOGCONTEXTA& Context() const { return context_; }
    // The arrivals (kind: the packet's buttons; x and y: its position); read after Stop.
    const std::vector<pzbench::Arrival>& Arrivals() const { return arrivals_; }
    // WT_PACKET messages whose packet WTPacket could no longer read.
    size_t Unread() const { return unread_; }

  private:
    static DWORD WINAPI Thread(void* parameter);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool LoadFunctions(const std::string& path);
    bool Open(HWND window, DWORD timeoutMs);
    void OnPacket(UINT serial, void* context);

    using InfoFn = UINT(WINAPI*)(UINT, UINT, LPVOID);
    using OpenFn = void*(WINAPI*)(HWND, wintab::LOGCONTEXTA*, BOOL);
    using CloseFn = BOOL(WINAPI*)(void*);
    using PacketFn = BOOL(WINAPI*)(void*, UINT, LPVOID);
    using GetFn = BOOL(WINAPI*)(void*, wintab::LOGCONTEXTA*);

    HMODULE library_ = nullptr;
    InfoFn info_ = nullptr;
    OpenFn open_ = nullptr;
    CloseFn close_ = nullptr;
    PacketFn packet_ = nullptr;
    GetFn get_ = nullptr;

    wintab::LOGCONTEXTA context_{};
    void* handle_ = nullptr;
    std::vector<pzbench::Arrival> arrivals_;
    size_t unread_ = 0;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
    DWORD timeoutMs_ = 0;
    bool opened_ = false;
};
