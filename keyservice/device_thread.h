// The device thread: searches for the keypad, serves it with a listener, opens it again after it is lost,
// writes the key file when the settings program asks, and ends everything on the caller's quit event.
#pragma once

#include <windows.h>

namespace ktkey {

// Thread procedure started by StartDevService (no argument; the quit event is g_quitEvent). Ends with 1.
DWORD WINAPI DeviceThread(void*);

}  // namespace ktkey
