#include "ktkey_exports.h"

#include "device_thread.h"
#include "key_actions.h"
#include "key_service_state.h"
#include "keypad_finder.h"

extern "C" {

int WINAPI InitKtVirtualHIDDev() {
    return 1;
}

int WINAPI SetPzApphWnd(HWND window) {
    ktkey::SetApplicationWindow(window);
    return 1;
}

int WINAPI InitKtTabletHIDDev() {
    ktkey::g_keypadHandle = ktkey::FindKeypad();
    return ktkey::g_keypadHandle != nullptr ? 1 : 0;
}

int WINAPI KtKeyEvent() {
    ktkey::HandleKeypadReport();
    return 1;
}

HANDLE WINAPI StartDevService(HANDLE quitEvent) {
    ktkey::g_quitEvent = quitEvent;
    return CreateThread(nullptr, 0, ktkey::DeviceThread, nullptr, 0, nullptr);
}

}  // extern "C"
