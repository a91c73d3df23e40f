#include "sim_hid_pipe.h"

SimHidPipe::SimHidPipe(std::string name)
    : name_(std::move(name)),
      connectEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      writeEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

SimHidPipe::~SimHidPipe() {
    Unplug();
    CloseHandle(connectEvent_);
    CloseHandle(writeEvent_);
}

bool SimHidPipe::Plug() {
    if (Plugged()) return true;
    pipe_ = CreateNamedPipeA(name_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    if (!Plugged()) return false;
    Listen();
    return true;
}

void SimHidPipe::Unplug() {
    if (!Plugged()) return;
    // A reader gets the reports already sent before the device goes: they left the device in time.
    if (connected_)
        FlushFileBuffers(pipe_);
    else
        CancelIo(pipe_);
    DisconnectNamedPipe(pipe_);
    CloseHandle(pipe_);
    pipe_ = INVALID_HANDLE_VALUE;
    connected_ = false;
}

void SimHidPipe::Listen() {
    connected_ = false;
    connectOverlapped_ = OVERLAPPED{};
    connectOverlapped_.hEvent = connectEvent_;
    ResetEvent(connectEvent_);
    if (!ConnectNamedPipe(pipe_, &connectOverlapped_) && GetLastError() == ERROR_PIPE_CONNECTED) connected_ = true;
}

bool SimHidPipe::WaitForReader() {
    if (connected_) return false;
    DWORD unused = 0;
    GetOverlappedResult(pipe_, &connectOverlapped_, &unused, TRUE);
    connected_ = true;
    return true;
}

bool SimHidPipe::Send(const std::vector<uint8_t>& report, bool& connected, int64_t* writeStamp) {
    connected = false;
    while (Plugged()) {
        connected = WaitForReader() || connected;
        OVERLAPPED overlapped{};
        overlapped.hEvent = writeEvent_;
        DWORD written = 0;
        if (writeStamp != nullptr) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            *writeStamp = now.QuadPart;
        }
        const BOOL done = WriteFile(pipe_, report.data(), static_cast<DWORD>(report.size()), nullptr, &overlapped);
        if ((done || GetLastError() == ERROR_IO_PENDING) && GetOverlappedResult(pipe_, &overlapped, &written, TRUE))
            return true;
        // The reader closed the device: wait for the next one.
        DisconnectNamedPipe(pipe_);
        Listen();
    }
    return false;
}
