// The library's hidden window, on a thread of its own: the service posts every context's messages here,
// and the window turns them into the programs' messages. Polling programs that never pump messages still
// get their packets this way.
#pragma once

#include <windows.h>

namespace wt32 {

// The window, started on first use; nullptr when it cannot be made.
HWND RelayWindow();
// Ends the thread (after the last context closed), so that the library can be unloaded.
void StopRelay();

}  // namespace wt32
