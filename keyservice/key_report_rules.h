// What one keypad report means. Each report carries the state of up to two key groups; comparing it with
// the report before tells which key went down or up and how far a finger moved along a touch strip.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "records.h"

namespace ktkey {

constexpr size_t kKeypadReportLength = 5;
constexpr uint8_t kNoKeyCode = 0xA0;
constexpr uint8_t kGroupMarkers[2] = {0x55, 0xAA};  // in bytes 1 and 3, before each group's state byte
constexpr int32_t kWheelStep = 120;                 // one wheel notch per strip position
constexpr uint32_t kScrollEventFlags = 0x4801;      // MOUSEEVENTF_MOVE | MOUSEEVENTF_WHEEL | _VIRTUALDESK

enum class KeyMode { kPress, kRelease };

enum class ReportEffectKind { kNone, kKey, kScroll };

struct ReportEffect {
    ReportEffectKind kind = ReportEffectKind::kNone;
    int group = 0;  // 0 or 1
    int key = 0;    // 0..3 within the group, for kKey
    KeyMode mode = KeyMode::kPress;
    uint32_t keyNumber = 0;  // 1..4 in group 1, 17..20 in group 2
    int32_t wheelDelta = 0;  // for kScroll
};

// The number a key is known by to the application window: 1..4 for group 1, 17..20 for group 2.
uint32_t KeyNumber(int group, int key);
// The group and key of a key number; false for numbers no key has.
bool KeyOfNumber(uint32_t keyNumber, int& group, int& key);

// The key (0..3) a state byte names, or -1: 0xA1, 0xA2, 0xA4 and 0xA8 are keys 1 to 4.
int KeyOfCode(uint8_t state);
// Whether a state byte is a key code (bits 0x80 and 0x20 both set) rather than a strip position.
bool IsKeyCode(uint8_t state);

// The effect of one group of `current` after `previous`; kNone when its marker is missing.
ReportEffect CompareGroup(int group, const uint8_t* current, const uint8_t* previous, const pz::KeySetRecord& keys);

// Group 1 then group 2.
std::array<ReportEffect, 2> CompareReports(const uint8_t* current, const uint8_t* previous,
                                           const pz::KeySetRecord& keys);

}  // namespace ktkey
