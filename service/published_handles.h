// The handles of the newest connection as the control block names them. They are the server's own
// duplicates, not the connection's: a client released by the sync pulse may still be duplicating them
// after that connection has closed, so they stay open until the next connection replaces them or the
// server stops.
#pragma once

#include <windows.h>

#include "records.h"

namespace ktpen {

struct ConnectionHandles {
    HANDLE mapping;
    HANDLE closeEvent;
    HANDLE commandEvent;
    HANDLE clientEvent;
};

class PublishedHandles {
  public:
    PublishedHandles() = default;
    PublishedHandles(const PublishedHandles&) = delete;
    PublishedHandles& operator=(const PublishedHandles&) = delete;

    // Duplicates the connection's handles, writes the duplicates into the control block and closes the
    // set they replace. False, with the control block unchanged, when a duplicate cannot be made.
    bool Publish(pz::WintabControlBlock& control, const ConnectionHandles& connection);
    // Closes the published set; the control block keeps naming it, as after any stop.
    void Release();

  private:
    ConnectionHandles handles_{};
};

}  // namespace ktpen
