// Helpers of the key service tests: the key file in both directories, the library's exports, keypad
// scripts, and what the key and mouse hooks saw.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "records.h"
#include "sim_tablet_harness.h"

namespace keytest {

// The key file paths in the Windows and the system directory.
std::string WindowsDirectoryKeyFile();
std::string SystemDirectoryKeyFile();

// Takes both key files away for the life of the object and puts back what was there.
class KeyFileBackup {
  public:
    KeyFileBackup();
    ~KeyFileBackup();

  private:
    struct Saved {
        std::string path;
        bool existed = false;
        std::vector<uint8_t> bytes;
    };
    std::vector<Saved> saved_;
};

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// A key file: the reserved bytes "RSVD" followed by `size` - 4 bytes of `record`.
std::vector<uint8_t> KeyFileImage(const pz::KeySetRecord& record, size_t size = pz::kKeyFileSize);

// The exports of a loaded KtKey library.
struct KeyLibrary {
    explicit KeyLibrary(const char* fileName = "KtKey-sim.dll");
    ~KeyLibrary();
    KeyLibrary(const KeyLibrary&) = delete;
    KeyLibrary& operator=(const KeyLibrary&) = delete;
    bool Loaded() const;

    HMODULE module = nullptr;
    int(WINAPI* initVirtual)() = nullptr;
    int(WINAPI* setAppWindow)(HWND) = nullptr;
    int(WINAPI* initTablet)() = nullptr;
    int(WINAPI* keyEvent)() = nullptr;
    HANDLE(WINAPI* startDevService)(HANDLE) = nullptr;
};

// The KeySetBlock of this session, mapped for the life of the object; record() is nullptr when the block
// does not exist.
class KeySetBlockView {
  public:
    KeySetBlockView();
    ~KeySetBlockView();
    KeySetBlockView(const KeySetBlockView&) = delete;
    KeySetBlockView& operator=(const KeySetBlockView&) = delete;
    pz::KeySetRecord* record() const { return record_; }

  private:
    HANDLE mapping_ = nullptr;
    pz::KeySetRecord* record_ = nullptr;
};

pz::KeyAction Keys(uint8_t b0, uint8_t b1 = 0, uint8_t b2 = 0);
pz::KeyAction Code(uint8_t actionCode);

// A keypad report line with both group markers.
std::string Report(uint8_t group1, uint8_t group2 = 0xA0);
// A report line with the given bytes 1..4.
std::string RawReport(uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);

// The keypad of an eight-key tablet (5-byte reports) at simulated index `index`.
simtest::DeviceSpec Keypad(unsigned index = 0);
// Starts simhid.exe and waits until its device can be opened.
simtest::Child* PlugDevice(const simtest::DeviceSpec& spec, const std::string& script);

// Injected keys as "+11" (down) and "-11" (up), left and right modifier codes folded into the generic one.
std::vector<std::string> KeyStrokes(const simtest::KeyRecorder& recorder);
// Wheel deltas of the injected WM_MOUSEWHEEL records.
std::vector<int> WheelDeltas(const simtest::MouseRecorder& recorder);
// Injected button messages (WM_LBUTTONDOWN ...), in order.
std::vector<WPARAM> ButtonMessages(const simtest::MouseRecorder& recorder);

// Lifts Ctrl, Alt and Shift, in case a test left one down.
void ReleaseModifiers();

// Runs this thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

}  // namespace keytest
