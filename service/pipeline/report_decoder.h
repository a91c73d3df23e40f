// Turns a received 8- or 10-byte report into the report record, in place.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ktpen {

// 10-byte reports: big-endian X and Y, 10-bit pressure split over bytes 6 and 7, tilt in bytes 7 and 8.
// Any other length: the 8-byte layout, already in place; the record gets an upright pen's tilt.
// `record` must hold at least 14 bytes.
void DecodeReport(uint8_t* record, size_t length);

// Tablets report 0x1 or 0x9 as the high half for the tip end and 0x3 or 0xB for the eraser end; the
// rest of the pipeline sees only 0x9 and 0xB.
uint8_t NormaliseStatus(uint8_t status);

}  // namespace ktpen
