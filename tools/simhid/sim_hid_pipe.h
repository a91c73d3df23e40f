// The server end of one simulated HID device: the message-mode pipe a reader opens as the device.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class SimHidPipe {
  public:
    explicit SimHidPipe(std::string name);
    ~SimHidPipe();
    SimHidPipe(const SimHidPipe&) = delete;
    SimHidPipe& operator=(const SimHidPipe&) = delete;

    // Creates the pipe and starts listening for a reader; false when the pipe cannot be created.
    bool Plug();
    // Closes the pipe once a connected reader has read what was sent: its next read fails, and the device
    // is gone until Plug.
    void Unplug();
    bool Plugged() const { return pipe_ != INVALID_HANDLE_VALUE; }
    // Sends one report as one message, first waiting for a reader; a reader that went away is replaced
    // by the next one. Returns true when the report was delivered; false when the device is unplugged.
    // `connected` is set when this call waited for a reader. `writeStamp`, when given, receives the
    // performance counter read just before the report is written.
    bool Send(const std::vector<uint8_t>& report, bool& connected, int64_t* writeStamp = nullptr);

  private:
    void Listen();
    bool WaitForReader();

    std::string name_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE connectEvent_;
    HANDLE writeEvent_;
    OVERLAPPED connectOverlapped_{};
    bool connected_ = false;
};
