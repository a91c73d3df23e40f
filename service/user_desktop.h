// The threads that inject pointer input must sit on the desktop the user sees. A service starts in a
// window station of its own, whose desktop nobody sees: mouse_event there moves nothing on the screen.
#pragma once

namespace ktpen {

// Moves the calling thread (which must own no windows or hooks) to the user's desktop in the interactive
// window station when the process is not already there. False when that was needed and failed.
bool AttachToUserDesktop();

}  // namespace ktpen
