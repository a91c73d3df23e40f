// Pen tilt of 10-byte reports, as azimuth and altitude in tenths of a degree.
#pragma once

#include <cstdint>

namespace ktpen {

struct Tilt {
    int32_t azimuth;
    int32_t altitude;
};

// byte7 carries tilt X in its low six bits (32 = upright), byte8 tilt Y in its low seven (64 = upright).
Tilt DecodeTilt(uint8_t byte7, uint8_t byte8);

}  // namespace ktpen
