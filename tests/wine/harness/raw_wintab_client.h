// A Wintab client written from the connection contract alone, with no client library: it opens the
// control block, asks for a connection, duplicates the new connection's handles out of the service and
// maps its context block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "records.h"

namespace rawwintab {

// Waits until a running service publishes its control block; returns the service's process id or 0.
DWORD WaitForServer(DWORD timeoutMs);

class RawClient {
  public:
    RawClient() = default;
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // Sets the request event and waits for the sync pulse in one step, then takes over the connection.
    bool Connect();
    pz::WintabContextBlock* Block() const { return block_; }
    // Writes the command code, then sets the command event.
    void Command(uint32_t code);
    // Sets the close event and lets go of the connection.
    void Close();

  private:
    void Release();

    HANDLE mapping_ = nullptr;
    HANDLE closeEvent_ = nullptr;
    HANDLE commandEvent_ = nullptr;
    HANDLE clientEvent_ = nullptr;
    pz::WintabContextBlock* block_ = nullptr;
};

// Pumps this thread's messages until `done` holds; false after `timeoutMs`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

struct WintabMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A hidden window on the calling thread that keeps every Wintab message it receives.
class MessageWindow {
  public:
    MessageWindow();
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Handle() const { return window_; }
    uint32_t Value() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window_)); }
    std::vector<WintabMessage> Received(UINT message) const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<WintabMessage> received_;
};

}  // namespace rawwintab
