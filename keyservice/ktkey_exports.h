// The exported interface of KtKey.dll. Every export uses the standard Windows calling convention
// (__stdcall) and is exported under its plain name in both widths.
#pragma once

#include <windows.h>

extern "C" {
// Does nothing; returns 1.
int WINAPI InitKtVirtualHIDDev();
// Stores the window that action-code-7 keys notify (message 0x7FE0, lParam = key number); returns 1.
int WINAPI SetPzApphWnd(HWND window);
// Looks for the keypad and keeps the result as the open keypad (an earlier handle is not closed);
// returns 1 when one was found, else 0.
int WINAPI InitKtTabletHIDDev();
// Runs the key handler once on the current and previous reports; returns 1.
int WINAPI KtKeyEvent();
// Starts the device thread, which ends after `quitEvent` is set; returns its handle, or nullptr.
HANDLE WINAPI StartDevService(HANDLE quitEvent);
}
