// The 14-byte report record every step after decoding reads, and the status byte's halves.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ktpen {

constexpr size_t kReportRecordSize = 14;
constexpr size_t kStatusOffset = 1;
constexpr size_t kXOffset = 2;
constexpr size_t kYOffset = 4;
constexpr size_t kPressureOffset = 6;
constexpr size_t kAzimuthOffset = 8;
constexpr size_t kAltitudeOffset = 10;

constexpr uint8_t kButtonsMask = 0x0F;
constexpr uint8_t kEraserBit = 0x20;
constexpr uint8_t kTipEndInRange = 0x90;
constexpr uint8_t kEraserEndInRange = 0xB0;

constexpr uint8_t kTipButton = 1;
constexpr uint8_t kSideButton = 2;

inline uint16_t GetU16(const uint8_t* record, size_t offset) {
    return static_cast<uint16_t>(record[offset] | (record[offset + 1] << 8));
}

inline void SetU16(uint8_t* record, size_t offset, uint16_t value) {
    record[offset] = static_cast<uint8_t>(value);
    record[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline uint8_t Buttons(uint8_t status) {
    return status & kButtonsMask;
}

}  // namespace ktpen
