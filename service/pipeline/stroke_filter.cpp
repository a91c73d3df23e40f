#include "stroke_filter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ktpen {
namespace {

// Boundaries between the 32 direction steps of one eighth of a turn, as 256 x tangent.
constexpr uint8_t kTangents[33] = {3,   9,   16,  22,  28,  35,  42,  48,  53,  62,  68,  74,  81,  88,  95,  102, 110,
                                   117, 125, 133, 141, 150, 158, 167, 176, 185, 195, 205, 215, 226, 238, 250, 255};

template <typename T>
void ShiftDown(T* history) {
    std::memmove(history, history + 1, sizeof(T) * (CStrokeFilter::kHistory - 1));
}

}  // namespace

int RoundDiv(int a, int b) {
    return (a + (b >> 1)) / b;
}

uint8_t Direction(int dx, int dy) {
    if (dy == 0) return dx < 0 ? 128 : 0;
    if (dx == 0) return dy > 0 ? 64 : 192;
    const int ax = std::abs(dx), ay = std::abs(dy);
    if (ax == ay) {
        if (dx > 0) return dy > 0 ? 32 : 224;
        return dy > 0 ? 96 : 160;
    }
    const int ratio = std::min(ax, ay) * 256 / std::max(ax, ay);
    int i = 0;
    while (i < 32 && kTangents[i] < ratio) ++i;
    if (ax < ay) i = 64 - i;
    if (dx > 0 && dy > 0) return static_cast<uint8_t>(i);
    if (dx < 0 && dy > 0) return static_cast<uint8_t>(128 - i);
    if (dx < 0) return static_cast<uint8_t>(128 + i);
    return i == 0 ? 0 : static_cast<uint8_t>(256 - i);
}

int WrapTurn(uint8_t previous, uint8_t next) {
    const int d = static_cast<int16_t>(next - previous);
    if (d >= 128) return d - 256;
    if (d < -128) return d + 256;
    return d;
}

int IntSqrt(int64_t v) {
    // A negative variance can only come from wrapped step weights; it counts as no spread at all
    // instead of dividing by zero below.
    if (v <= 0) return 0;
    int64_t x = std::min<int64_t>(128, v >> 1);
    while (x * x > v) {
        const int64_t next = (v / x + x) >> 1;
        if (next == x || next * next <= v) return static_cast<int>(next);
        x = next;
    }
    return static_cast<int>(x);
}

void CStrokeFilter::Reset() {
    n_ = 0;
    strength_ = 255;
    lastKind_ = kNone;
    std::memset(directions_, 0, sizeof directions_);
    std::memset(turns_, 0, sizeof turns_);
}

void CStrokeFilter::Push(uint16_t* history, uint16_t value) const {
    if (n_ < kHistory) {
        history[n_] = value;
    } else {
        ShiftDown(history);
        history[kHistory - 1] = value;
    }
}

void CStrokeFilter::UpdateDirection(uint16_t rawX, uint16_t rawY) {
    if (n_ == 0) return;
    int k = n_;
    if (n_ == kHistory) {
        k = kHistory - 1;
        ShiftDown(directions_);
        ShiftDown(turns_);
        ShiftDown(steps_);
    }
    // With a full history the reference is the second newest sample, so the step spans two reports.
    const int dx = static_cast<int16_t>(rawX - rawX_[k - 1]);
    const int dy = static_cast<int16_t>(rawY - rawY_[k - 1]);
    directions_[k] = Direction(dx, dy);
    if (n_ > 1) turns_[k] = static_cast<int8_t>(WrapTurn(directions_[k - 1], directions_[k]));
    steps_[k] = static_cast<uint16_t>(std::max(std::abs(dx), std::abs(dy)));
}

int CStrokeFilter::TurnSpread() const {
    // 64-bit sums: eight turns of up to 128 weighted by steps of up to 32768 overflow 32 bits.
    int64_t weight = 0, s1 = 0, s2 = 0;
    for (int i = 0; i < n_; ++i) {
        const int64_t t = turns_[i];
        const int64_t w = static_cast<int16_t>(steps_[i]);
        weight += w;
        s1 += t * w;
        s2 += t * w * t;
    }
    const int64_t divisor = weight != 0 ? weight : n_;
    const int64_t mean = s1 / divisor;
    const int64_t variance = s2 / divisor - mean * mean;
    int sd = IntSqrt(variance);
    const int64_t e = std::llabs(turns_[n_ - 1] - mean);
    int64_t f = (e + sd - std::llabs(mean)) / 16 + 3;
    sd = std::clamp(sd, 1, 16);
    if (e > sd) f += e / sd;
    return static_cast<int>(std::clamp<int64_t>(f, -8, 8));
}

int CStrokeFilter::AverageStep(int value, const uint16_t* history) const {
    if (n_ == 0) return 0;
    return RoundDiv(std::abs(value - history[0]), std::min(n_, kHistory));
}

void CStrokeFilter::MovingAverage(int& value, const uint16_t* history, int count) const {
    const int c = std::min(count, static_cast<int>(n_));
    if (c <= 0) return;
    const int m = std::min(n_, kHistory);
    int sum = value;
    for (int i = m - c; i < m; ++i) sum += history[i];
    value = RoundDiv(sum, c + 1);
}

void CStrokeFilter::WeightedAverage(int& value, const uint16_t* history) const {
    const int m = std::min(n_, kHistory);
    if (m >= 2) value = (history[m - 2] + 4 * history[m - 1] + value + 3) / 6;
}

void CStrokeFilter::LimitStrength(int& s) {
    if (strength_ <= kHistory) s = std::clamp(s, strength_ - 1, strength_ + 1);
    strength_ = static_cast<uint8_t>(s);  // a negative strength leaves a value above 8: none
}

void CStrokeFilter::ApplyKind(int& x, int& y, int kind, int s) {
    switch (kind) {
        case kSmoothedAverage:
            MovingAverage(x, smoothedX_, s);
            MovingAverage(y, smoothedY_, s);
            break;
        case kRawAverage:
            MovingAverage(x, rawX_, s);
            MovingAverage(y, rawY_, s);
            break;
        case kWeighted:
            WeightedAverage(x, rawX_);
            WeightedAverage(y, rawY_);
            strength_ = 3;
            break;
        default:
            break;
    }
}

int CStrokeFilter::SpeedOf(int x, int y, int& sx, int& sy) const {
    sx = (AverageStep(x, rawX_) + AverageStep(x, smoothedX_)) >> 1;
    sy = (AverageStep(y, rawY_) + AverageStep(y, smoothedY_)) >> 1;
    return std::max(sx, sy);
}

namespace {
// The strength suggested by the speed on each axis: 8 when still, down to 2 when fast.
int StrengthForSpeed(int sx, int sy) {
    const int kx = std::max(2, 8 - RoundDiv(sx, 2));
    const int ky = std::max(2, 8 - RoundDiv(sy, 2));
    return (kx + ky) >> 1;
}
}  // namespace

void CStrokeFilter::ChooseWhileFilling(int& x, int& y) {
    int sx, sy;
    const int speed = SpeedOf(x, y, sx, sy);
    int kind, s;
    if (speed >= 24 && strength_ <= 4) {
        kind = kWeighted;
        s = 0;
    } else {
        s = StrengthForSpeed(sx, sy);
        LimitStrength(s);
        kind = speed >= 4 ? kRawAverage : kSmoothedAverage;
    }
    if (kind == lastKind_) {
        ApplyKind(x, y, kind, s);
    } else {
        // Soften a change of kind: the mean of what the old and the new kind make of the sample.
        int oldX = x, oldY = y;
        ApplyKind(oldX, oldY, lastKind_, s);
        ApplyKind(x, y, kind, s);
        x = (x + oldX) >> 1;
        y = (y + oldY) >> 1;
    }
    lastKind_ = static_cast<int16_t>(kind);
}

void CStrokeFilter::ChooseWithFullHistory(int& x, int& y, int mode) {
    int sx, sy;
    const int speed = SpeedOf(x, y, sx, sy);
    int kind, s;
    if (speed >= 32 && strength_ <= 4) {
        kind = kWeighted;
        s = 3;
    } else if (speed < 16) {
        s = std::min((TurnSpread() + StrengthForSpeed(sx, sy)) >> 1, 8);
        LimitStrength(s);
        int threshold = 8;
        if (mode == 1) threshold = pressureMaximum_ == 1023 ? 4 : 10;
        if (mode == 3) threshold = 16;
        kind = s + speed >= threshold ? kRawAverage : kSmoothedAverage;
    } else {
        s = StrengthForSpeed(sx, sy);
        LimitStrength(s);
        kind = kRawAverage;
    }
    ApplyKind(x, y, kind, s);
    lastKind_ = static_cast<int16_t>(kind);
}

void CStrokeFilter::Step(uint16_t& x, uint16_t& y, int mode) {
    const uint16_t rawX = x, rawY = y;
    UpdateDirection(rawX, rawY);
    int sx = x, sy = y;
    if (n_ < kHistory) {
        ChooseWhileFilling(sx, sy);
    } else {
        ChooseWithFullHistory(sx, sy, mode);
    }
    x = static_cast<uint16_t>(sx);
    y = static_cast<uint16_t>(sy);
    Push(rawX_, rawX);
    Push(rawY_, rawY);
    Push(smoothedX_, x);
    Push(smoothedY_, y);
    if (n_ < kHistory) ++n_;
}

}  // namespace ktpen
