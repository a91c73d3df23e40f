// Process-wide state of the key service, shared by the exports, the device thread and the listener.
#pragma once

#include <windows.h>

#include <cstdint>

#include "key_report_rules.h"
#include "records.h"

namespace ktkey {

// The open keypad, or nullptr. Written by the device thread (through InitKtTabletHIDDev) only while no
// listener runs; read by the listener.
extern HANDLE g_keypadHandle;
// The report being read and the one handled before it; the listener's alone once it runs.
extern uint8_t g_currentReport[kKeypadReportLength];
extern uint8_t g_previousReport[kKeypadReportLength];
// The event given to StartDevService.
extern HANDLE g_quitEvent;

// The window that action-code-7 keys notify, as every process that loaded the library last set it.
HWND ApplicationWindow();
void SetApplicationWindow(HWND window);

}  // namespace ktkey
