// Pen pressure for Wintab packets: the raw reading scaled to 0..1023 past a dead zone, then bent by the
// user's pressure level (100 = linear, above = softer start, below = harder start).
#pragma once

#include <cstdint>

namespace ktpen {

// Readings up to 42 are the dead zone; 43 to the maximum plus one spread over 0..1024.
int ScaleRawPressure(int raw, uint16_t pressureMaximum);

// The curve of `level`; a tip that is down never reports 0.
int ApplyPressureCurve(int pressure, uint16_t level, uint8_t buttons);

}  // namespace ktpen
