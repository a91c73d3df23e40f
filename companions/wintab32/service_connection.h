// One connection to the tablet service: the context block the service made for it, mapped here, and the
// events that carry commands and the close.
#pragma once

#include <windows.h>

#include "records.h"
#include "shared_queue_reader.h"

namespace wt32 {

class ServiceConnection {
  public:
    ServiceConnection() = default;
    ~ServiceConnection() { Disconnect(); }
    ServiceConnection(const ServiceConnection&) = delete;
    ServiceConnection& operator=(const ServiceConnection&) = delete;

    // Asks the service for a connection, maps the new block and hands it `context` and `window`. False
    // when the service is not serving or does not answer.
    bool Connect(HWND window, const wintab::LOGCONTEXTA& context);
    // Sets the close event (the service then lets the block go) and releases this side.
    void Disconnect();

    // Writes `command` and sets the command event, once the service has taken the previous one.
    void Send(uint32_t command);
    void WriteContext(const wintab::LOGCONTEXTA& context);
    uint32_t ContextId() const { return contextId_; }
    // A consistent copy of the shared queue; false when the service kept moving it.
    bool ReadQueue(std::vector<wintab::PACKET>& out);

  private:
    bool WaitTaken(DWORD timeoutMs);

    volatile pz::WintabContextBlock* block_ = nullptr;
    HANDLE mapping_ = nullptr;
    HANDLE closeEvent_ = nullptr;
    HANDLE commandEvent_ = nullptr;
    HANDLE clientEvent_ = nullptr;
    uint32_t contextId_ = 0;
};

}  // namespace wt32
