// The host's hidden top-level window: it is there to hear of logoff (WM_ENDSESSION), which the system
// tells top-level windows only.
#pragma once

#include <windows.h>

namespace keyhost {

constexpr char kHostWindowClass[] = "PzKeyHostWindow";

// Pumps the window's messages until `deviceThread` ends. When the session ends, sets `quitEvent` and
// waits for the thread before letting the session go on.
void RunUntilThreadEnds(HANDLE deviceThread, HANDLE quitEvent);

}  // namespace keyhost
