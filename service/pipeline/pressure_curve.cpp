#include "pressure_curve.h"

#include <climits>
#include <cmath>

#include "report_record.h"
#include "settings_file.h"

namespace ktpen {
namespace {
constexpr int kDeadZone = 43;
constexpr double kCurveUnit = 9.775171065493646e-06;  // 1 / 102300: both bent curves meet 0 and 1023

// Truncation toward zero, where a negative result counts as 0 anyway. A level far beyond the settings
// page's 0..200, written into the block by another program, can bend the curve below any int.
int TruncateNonNegative(double value) {
    if (!(value > 0)) return 0;
    return value < INT_MAX ? static_cast<int>(value) : INT_MAX;
}
}  // namespace

int ScaleRawPressure(int raw, uint16_t pressureMaximum) {
    if (raw < kDeadZone) return 0;
    if (pressureMaximum == 511) return (raw - kDeadZone) * 2048 / 938;
    return (raw - kDeadZone) * 1024 / 981;
}

int ApplyPressureCurve(int pressure, uint16_t level, uint8_t buttons) {
    int curved = pressure;
    const double p = pressure;
    if (level > pz::kLinearPressureLevel) {
        const double a = (level - pz::kLinearPressureLevel) * kCurveUnit;
        curved = TruncateNonNegative(p * (1 - 1023 * a + a * p));
    } else if (level < pz::kLinearPressureLevel) {
        const double a = (pz::kLinearPressureLevel - level) * kCurveUnit;
        const double b = 1 - 1023 * a;
        curved = TruncateNonNegative((std::sqrt(4 * a * p + b * b) - b) / (2 * a));
    }
    if (curved < 0) curved = 0;
    if (curved == 0 && buttons == kTipButton) curved = 1;
    return curved;
}

}  // namespace ktpen
