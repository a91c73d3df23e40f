// The listener thread: reads the keypad's 5-byte reports one at a time and hands each to the key handler.
#pragma once

#include <windows.h>

namespace ktkey {

// Thread procedure; the argument is the device thread's stop event. Ends with 0 when the stop event is
// set, with 1 after setting it itself when the device failed. A read still outstanding at the end is
// cancelled and waited for, so that nothing is written into g_currentReport afterwards.
DWORD WINAPI KeyListenerThread(void* stopEvent);

}  // namespace ktkey
