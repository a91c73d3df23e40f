#include <gtest/gtest.h>

#include <vector>

#include "stroke_filter.h"

namespace {

using namespace ktpen;

TEST(StrokeFilterHelpers, DirectionCodes) {
    struct Case {
        int dx, dy;
        int code;
    } cases[] = {
        {5, 0, 0},     {0, 0, 0},     {-5, 0, 128}, {0, 5, 64},   {0, -5, 192}, {5, 5, 32},
        {-5, 5, 96},   {-5, -5, 160}, {5, -5, 224}, {5, -1, 248}, {5, 1, 8},    {-5, 1, 120},
        {-5, -1, 136}, {1, 5, 56},    {100, -1, 0}, {1000, 1, 0}, {-1, 5, 72},
    };
    for (const Case& c : cases) EXPECT_EQ(Direction(c.dx, c.dy), c.code) << c.dx << "," << c.dy;
}

TEST(StrokeFilterHelpers, WrapTurnRoundDivIntSqrt) {
    EXPECT_EQ(WrapTurn(250, 5), 11);
    EXPECT_EQ(WrapTurn(5, 250), -11);
    EXPECT_EQ(WrapTurn(0, 128), -128);
    EXPECT_EQ(WrapTurn(128, 0), -128);
    EXPECT_EQ(RoundDiv(7, 2), 4);
    EXPECT_EQ(RoundDiv(8, 3), 3);
    EXPECT_EQ(RoundDiv(0, 5), 0);
    const struct {
        int64_t v;
        int root;
    } roots[] = {{0, 0},       {1, 0},       {2, 1},       {4, 2},  {100, 10},
                 {16383, 127}, {16384, 128}, {20000, 128}, {-1, 0}, {-500, 0}};
    for (const auto& r : roots) EXPECT_EQ(IntSqrt(r.v), r.root) << r.v;
}

TEST(StrokeFilter, FirstSampleAfterResetPassesUnchanged) {
    CStrokeFilter filter;
    uint16_t x = 1234, y = 4321;
    filter.Step(x, y, 1);
    EXPECT_EQ(x, 1234);
    EXPECT_EQ(y, 4321);
    filter.Reset();
    x = 50;
    y = 60;
    filter.Step(x, y, 3);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(filter.Count(), 1);
}

// A still pen: the output is the input; the strength is 8 while the histories fill, then falls by one
// per sample to 5 (the turn spread of a still pen is 3) and stays.
void ExpectStillPen(uint16_t pressureMaximum, int16_t settledKind) {
    CStrokeFilter filter;
    filter.SetPressureMaximum(pressureMaximum);
    const int expectedStrength[] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 6, 5, 5, 5, 5};
    for (int i = 0; i < 14; ++i) {
        uint16_t x = 3000, y = 2000;
        filter.Step(x, y, 1);
        EXPECT_EQ(x, 3000);
        EXPECT_EQ(y, 2000);
        EXPECT_EQ(filter.Strength(), expectedStrength[i]) << "sample " << i;
    }
    EXPECT_EQ(filter.LastKind(), settledKind);
}

TEST(StrokeFilter, StillPenSettlesAtStrengthFive) {
    ExpectStillPen(1023, CStrokeFilter::kRawAverage);      // 5 + 0 reaches the threshold 4
    ExpectStillPen(511, CStrokeFilter::kSmoothedAverage);  // threshold 10
}

TEST(StrokeFilter, FastStrokeMovesToTheWeightedKernelOnceTheStrengthIsLow) {
    CStrokeFilter filter;
    std::vector<int> kinds, strengths;
    for (int i = 0; i < 20; ++i) {
        // Diagonal, so that both axes ask for the lightest smoothing.
        uint16_t x = static_cast<uint16_t>(1000 + 60 * i), y = static_cast<uint16_t>(2000 + 60 * i);
        filter.Step(x, y, 1);
        kinds.push_back(filter.LastKind());
        strengths.push_back(filter.Strength());
    }
    // While the strength is above 4 the raw average is used and the strength drops by one per sample.
    size_t firstWeighted = 0;
    while (firstWeighted < kinds.size() && kinds[firstWeighted] != CStrokeFilter::kWeighted) ++firstWeighted;
    ASSERT_LT(firstWeighted, kinds.size());
    ASSERT_GE(firstWeighted, 1u);
    EXPECT_LE(strengths[firstWeighted - 1], 4);
    for (size_t i = 2; i < firstWeighted; ++i) {
        EXPECT_EQ(kinds[i], CStrokeFilter::kRawAverage) << i;
        EXPECT_EQ(strengths[i], strengths[i - 1] - 1) << i;
    }
    EXPECT_EQ(kinds.back(), CStrokeFilter::kWeighted);
    EXPECT_EQ(strengths.back(), 3);
}

TEST(StrokeFilter, WeightedKernelIsOneFourOneOverTheNewestRawSamples) {
    CStrokeFilter filter;
    uint16_t x = 0, y = 0;
    for (int i = 0; i < 30; ++i) {
        x = static_cast<uint16_t>(100 * i);
        y = static_cast<uint16_t>(500 + 50 * i);
        filter.Step(x, y, 1);
    }
    ASSERT_EQ(filter.LastKind(), CStrokeFilter::kWeighted);
    uint16_t nx = 3000, ny = 2000;
    filter.Step(nx, ny, 1);
    EXPECT_EQ(nx, (2800 + 4 * 2900 + 3000 + 3) / 6);
    EXPECT_EQ(ny, (1900 + 4 * 1950 + 2000 + 3) / 6);
}

TEST(StrokeFilter, ReversalsEveryStepCanDriveTheStrengthBelowOne) {
    // Back and forth by a large step: the turn spread goes negative, and a strength below 1 leaves the
    // sample unaveraged rather than failing.
    CStrokeFilter filter;
    for (int i = 0; i < 40; ++i) {
        uint16_t x = static_cast<uint16_t>(i % 2 ? 5010 : 5000), y = static_cast<uint16_t>(i % 4 < 2 ? 3000 : 3010);
        filter.Step(x, y, 3);
        EXPECT_LE(x, 5010);
        EXPECT_GE(x, 5000);
    }
}

TEST(StrokeFilter, WrappedStepsAndExtremeCoordinatesStayInRange) {
    CStrokeFilter filter;
    const uint16_t xs[] = {0, 65535, 0, 32768, 65535, 1, 65534, 0, 65535, 0, 32767, 65535};
    for (uint16_t raw : xs) {
        uint16_t x = raw, y = static_cast<uint16_t>(65535 - raw);
        filter.Step(x, y, 1);
    }
    EXPECT_EQ(filter.Count(), 8);
}

}  // namespace
