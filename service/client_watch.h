// Whether a connected Wintab client is still there. The protocol names no client process, and a client
// that is killed never sets its close event; the window it gave for its messages names the process,
// whose end ends the connection (the window's end, when the process cannot be opened). A client without
// a window, or with a window this process cannot see (another session's), is assumed alive: it is
// served until it closes or the service stops.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ktpen {

class ClientWatch {
  public:
    ClientWatch() = default;
    ~ClientWatch();
    ClientWatch(const ClientWatch&) = delete;
    ClientWatch& operator=(const ClientWatch&) = delete;

    // Looks at the window the client wrote into its block; false when it names no window before its
    // process was learnt, and once the process of a window that was seen is gone.
    bool StillThere(uint32_t clientWindow);
    // The process of the client's window, signalled when it ends; nullptr while unknown.
    HANDLE Process() const { return process_; }

  private:
    void Look(uint32_t clientWindow);
    void Forget();

    uint32_t window_ = 0;
    bool seen_ = false;  // the window existed when it was looked at
    HANDLE process_ = nullptr;
};

}  // namespace ktpen
