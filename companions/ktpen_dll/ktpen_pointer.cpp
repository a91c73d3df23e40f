// "KTPEN.dll": the pointer library the tablet service sends every pointer event through. It applies the
// user's screen area and right-key choice from the settings block and injects the event with the
// system's mouse_event; the pen state of the last two slots (buttons, tablet X and Y) is not needed.
#include <windows.h>

#include <atomic>

#include "object_names.h"
#include "pointer_target.h"
#include "service_object_open.h"

namespace {
constexpr DWORD kRetryOpenMs = 1000;

std::atomic<const pz::ControlPanelBlock*> g_block{nullptr};
std::atomic<DWORD> g_lastOpenTry{0};
std::atomic<bool> g_triedOnce{false};

// The settings block, opened once it exists and kept for the life of the library. Until then a retry at
// most once a second keeps the cost off the pen's path.
const pz::SettingsRecord* Settings() {
    if (const pz::ControlPanelBlock* block = g_block.load()) return &block->Record;
    const DWORD now = GetTickCount();
    if (g_triedOnce.exchange(true) && now - g_lastOpenTry.load() < kRetryOpenMs) return nullptr;
    g_lastOpenTry = now;
    HANDLE mapping = pz::OpenServiceObject(pz::ServiceObjectKind::kMapping, pz::kControlPanelBlockName, FILE_MAP_READ);
    if (mapping == nullptr) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, pz::kControlPanelBlockSize);
    CloseHandle(mapping);  // the view keeps the block
    if (view == nullptr) return nullptr;
    const pz::ControlPanelBlock* expected = nullptr;
    if (!g_block.compare_exchange_strong(expected, static_cast<const pz::ControlPanelBlock*>(view)))
        UnmapViewOfFile(view);
    return &g_block.load()->Record;
}
}  // namespace

extern "C" __declspec(dllexport) void __cdecl mouse_eventEx(DWORD flags, DWORD dx, DWORD dy, DWORD data, DWORD, DWORD) {
    ktpen::PointerEvent event{flags, static_cast<int32_t>(dx), static_cast<int32_t>(dy), data};
    if (!ktpen::ApplyPointerTarget(Settings(), event)) return;
    mouse_event(event.flags, static_cast<DWORD>(event.dx), static_cast<DWORD>(event.dy), event.data, 0);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // At process end the view goes with the process; unmap only on a real unload.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        if (const pz::ControlPanelBlock* block = g_block.exchange(nullptr)) UnmapViewOfFile(block);
    }
    return TRUE;
}
