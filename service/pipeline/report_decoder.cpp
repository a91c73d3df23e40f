#include "report_decoder.h"

#include <utility>

#include "report_record.h"
#include "tilt_decoder.h"

namespace ktpen {

void DecodeReport(uint8_t* record, size_t length) {
    if (length == 10) {
        const Tilt tilt = DecodeTilt(record[7], record[8]);  // before bytes 7 and 8 are overwritten
        std::swap(record[kXOffset], record[kXOffset + 1]);
        std::swap(record[kYOffset], record[kYOffset + 1]);
        SetU16(record, kAzimuthOffset, static_cast<uint16_t>(tilt.azimuth));
        SetU16(record, kAltitudeOffset, static_cast<uint16_t>(tilt.altitude));
        SetU16(record, kPressureOffset, static_cast<uint16_t>(record[6] * 4 + (record[7] >> 6)));
    } else {
        SetU16(record, kAzimuthOffset, 0);
        SetU16(record, kAltitudeOffset, 900);
    }
}

uint8_t NormaliseStatus(uint8_t status) {
    const uint8_t end = status & 0xF0;
    if (end == 0x10) return static_cast<uint8_t>(kTipEndInRange | Buttons(status));
    if (end == 0x30) return static_cast<uint8_t>(kEraserEndInRange | Buttons(status));
    return status;
}

}  // namespace ktpen
