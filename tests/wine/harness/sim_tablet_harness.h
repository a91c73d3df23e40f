// Test harness for the simulated tablet: records the pointer events that reach this desktop, and starts
// ktpen-sim.exe and simhid.exe devices from the test's own directory.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace simtest {

struct MouseRecord {
    WPARAM message;  // WM_MOUSEMOVE, WM_LBUTTONDOWN, ...
    POINT point;
    bool injected;
    DWORD tick;
    DWORD mouseData;  // the wheel delta in the high word, for WM_MOUSEWHEEL
};

// A low-level mouse hook on a thread of its own, for the life of the object.
class MouseRecorder {
  public:
    MouseRecorder();
    ~MouseRecorder();
    std::vector<MouseRecord> Records() const;
    // Injected records of one message.
    std::vector<MouseRecord> Injected(WPARAM message) const;
    // Waits until an injected record of `message` arrives; false after `timeoutMs`.
    bool WaitFor(WPARAM message, DWORD timeoutMs) const;

  private:
    static DWORD WINAPI Thread(void* parameter);
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
};

struct KeyRecord {
    WPARAM message;  // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
    DWORD virtualKey;
    bool injected;
    DWORD tick;
};

// A low-level keyboard hook on a thread of its own, for the life of the object.
class KeyRecorder {
  public:
    KeyRecorder();
    ~KeyRecorder();
    KeyRecorder(const KeyRecorder&) = delete;
    KeyRecorder& operator=(const KeyRecorder&) = delete;
    // Injected records only.
    std::vector<KeyRecord> Injected() const;

  private:
    static DWORD WINAPI Thread(void* parameter);
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
};

// A child process, ended (if still running) and closed with the object.
class Child {
  public:
    explicit Child(const std::string& commandLine);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    bool Started() const { return process_ != nullptr; }
    // Exit code, or STILL_ACTIVE when it did not end within `timeoutMs`.
    DWORD Wait(DWORD timeoutMs);

  private:
    HANDLE process_ = nullptr;
};

std::string ProgramPath(const char* fileName);  // a program beside the test
// Writes the settings file the service loads at start (whole tablet, linear pressure) when it is missing.
void EnsureSettingsFile();

struct DeviceSpec {
    unsigned index = 0;
    unsigned vendorId = 0x4B54;
    unsigned productId = 0x8201;
    unsigned usagePage = 0xFF00;
    unsigned usage = 1;
    unsigned reportLength = 8;
    unsigned holdMs = 0;
};

// Starts simhid.exe playing `script` as the device `spec`.
Child* StartDevice(const DeviceSpec& spec, const std::string& script);
// Waits until the device at `index` can be opened, so that a service started now finds it at once.
bool WaitUntilPlugged(unsigned index, DWORD timeoutMs);

// An 8-byte report line: status, X, Y, pressure.
std::string Report8(unsigned status, unsigned x, unsigned y, unsigned pressure);
// The pointer position a tablet position maps to on this desktop (whole tablet, whole desktop).
POINT ExpectedPoint(unsigned x, unsigned y);

}  // namespace simtest
