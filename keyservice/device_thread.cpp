#include "device_thread.h"

#include "key_file_io.h"
#include "key_listener.h"
#include "key_service_state.h"
#include "key_set_view.h"
#include "ktkey_exports.h"
#include "object_names.h"

namespace ktkey {
namespace {

constexpr DWORD kSearchIntervalMs = 6000;
constexpr uint8_t kNoKeysReport[kKeypadReportLength] = {0x00, 0x00, kNoKeyCode, 0x00, kNoKeyCode};

struct DeviceThreadEvents {
    HANDLE stop = nullptr;  // set by this thread to end the listener, by the listener when the device fails
    HANDLE save = nullptr;  // "quorvandelSavePztabletBIN", set by the settings program
};

// Tries at once and then every 6000 ms; false when the quit event ends the search. The quit event is
// waited on between attempts, so a host is never kept waiting for a whole interval.
bool OpenKeypad() {
    while (InitKtTabletHIDDev() == 0) {
        if (WaitForSingleObject(g_quitEvent, kSearchIntervalMs) != WAIT_TIMEOUT) return false;
    }
    return true;
}

void CloseKeypad() {
    if (g_keypadHandle != nullptr) CloseHandle(g_keypadHandle);
    g_keypadHandle = nullptr;
}

// Waits while the listener serves the keypad; true when the quit event (or a failed wait) ends the
// service, false when the listener lost the device and has ended.
bool Serve(HANDLE listener, const DeviceThreadEvents& events) {
    HANDLE waitSet[3] = {g_quitEvent, events.stop, events.save};
    const DWORD count = events.save != nullptr ? 3 : 2;
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(count, waitSet, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0 + 2) {
            ResetEvent(events.save);
            WriteKeyFile(KeySet());
            continue;
        }
        if (woken != WAIT_OBJECT_0 + 1) return true;
        WaitForSingleObject(listener, INFINITE);
        ResetEvent(events.stop);
        return false;
    }
}

}  // namespace

DWORD WINAPI DeviceThread(void*) {
    DeviceThreadEvents events;
    events.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    events.save = CreateEventA(nullptr, TRUE, FALSE, pz::kSaveKeysEventName);
    HANDLE listener = nullptr;
    while (events.stop != nullptr && OpenKeypad()) {
        CopyMemory(g_previousReport, kNoKeysReport, kKeypadReportLength);
        listener = CreateThread(nullptr, 0, KeyListenerThread, events.stop, 0, nullptr);
        if (listener == nullptr) {
            CloseKeypad();
            if (WaitForSingleObject(g_quitEvent, kSearchIntervalMs) != WAIT_TIMEOUT) break;
            continue;
        }
        const bool quit = Serve(listener, events);
        if (quit) break;
        CloseHandle(listener);
        listener = nullptr;
        CloseKeypad();
    }
    // The listener is waited for, not given a fixed time: its read into g_currentReport must be over
    // before the device handle closes.
    if (events.stop != nullptr) SetEvent(events.stop);
    if (listener != nullptr) {
        WaitForSingleObject(listener, INFINITE);
        CloseHandle(listener);
    }
    CloseKeypad();
    if (events.stop != nullptr) CloseHandle(events.stop);
    if (events.save != nullptr) CloseHandle(events.save);
    return 1;
}

}  // namespace ktkey
