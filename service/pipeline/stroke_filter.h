// Adaptive smoothing of the pen position: from the recent speed and, with a full history, from how
// steadily the direction turns, it picks a kind of averaging and a strength (how many past samples are
// averaged in). Slow wavering movement is averaged strongly, fast movement lightly. Integer arithmetic
// throughout, no allocation.
#pragma once

#include <cstdint>

namespace ktpen {

// Pure helpers of the filter, exposed for testing.
int RoundDiv(int a, int b);
uint8_t Direction(int dx, int dy);             // 256 codes per turn: 0 = +X, 64 = +Y (downwards)
int WrapTurn(uint8_t previous, uint8_t next);  // -128..127
int IntSqrt(int64_t v);                        // 0 for v <= 1, at most 128

class CStrokeFilter {
  public:
    static constexpr int kHistory = 8;
    enum Kind : int16_t { kNone = 0, kSmoothedAverage = 1, kRawAverage = 2, kWeighted = 3 };

    CStrokeFilter() { Reset(); }
    virtual ~CStrokeFilter() = default;

    void Reset();
    // Mode 1 normally, 3 while the side button is held.
    void Step(uint16_t& x, uint16_t& y, int mode);
    void SetPressureMaximum(uint16_t maximum) { pressureMaximum_ = maximum; }

    int Count() const { return n_; }
    uint8_t Strength() const { return strength_; }
    int16_t LastKind() const { return lastKind_; }

  private:
    void UpdateDirection(uint16_t rawX, uint16_t rawY);
    int TurnSpread() const;
    int AverageStep(int value, const uint16_t* history) const;
    void MovingAverage(int& value, const uint16_t* history, int count) const;
    void WeightedAverage(int& value, const uint16_t* history) const;
    void LimitStrength(int& s);
    void ApplyKind(int& x, int& y, int kind, int s);
    int SpeedOf(int x, int y, int& sx, int& sy) const;
    void ChooseWhileFilling(int& x, int& y);
    void ChooseWithFullHistory(int& x, int& y, int mode);
    void Push(uint16_t* history, uint16_t value) const;

    int32_t n_ = 0;
    uint16_t smoothedX_[kHistory] = {};
    uint16_t smoothedY_[kHistory] = {};
    uint16_t rawX_[kHistory] = {};
    uint16_t rawY_[kHistory] = {};
    uint16_t steps_[kHistory] = {};  // read as signed 16-bit weights
    uint8_t directions_[kHistory] = {};
    int8_t turns_[kHistory] = {};
    uint8_t strength_ = 255;  // above 8: no previous strength
    int16_t lastKind_ = kNone;
    uint16_t pressureMaximum_ = 1023;
};

}  // namespace ktpen
