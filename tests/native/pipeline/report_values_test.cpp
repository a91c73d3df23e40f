// Decoding of the two report formats, tilt, and the pressure values that reach Wintab packets.
#include <gtest/gtest.h>

#include <climits>

#include "pressure_curve.h"
#include "report_decoder.h"
#include "report_record.h"
#include "tilt_decoder.h"

namespace {

using namespace ktpen;

TEST(ReportDecoder, TenByteReportsAreBigEndianEightByteLittleEndian) {
    uint8_t eight[16] = {1, 0x91, 0x12, 0x34, 0x56, 0x07, 0xFF, 0x01};
    uint8_t ten[16] = {1, 0x91, 0x12, 0x34, 0x07, 0x56, 0xFF, 0xC0, 0x40};
    DecodeReport(eight, 8);
    DecodeReport(ten, 10);
    EXPECT_EQ(GetU16(eight, kXOffset), 0x3412);
    EXPECT_EQ(GetU16(ten, kXOffset), 0x1234);
    EXPECT_EQ(GetU16(eight, kYOffset), 0x0756);
    EXPECT_EQ(GetU16(ten, kYOffset), 0x0756);
    EXPECT_EQ(GetU16(eight, kPressureOffset), 0x01FF);
    EXPECT_EQ(GetU16(eight, kAzimuthOffset), 0);
    EXPECT_EQ(GetU16(eight, kAltitudeOffset), 900);
    EXPECT_EQ(GetU16(ten, kPressureOffset), 1023);
}

TEST(ReportDecoder, TenBytePressureAndTiltShareByteSeven) {
    uint8_t report[16] = {1, 0x90, 0, 0, 0, 0, 0xFF, 0x3F, 64};
    DecodeReport(report, 10);
    EXPECT_EQ(GetU16(report, kPressureOffset), 1020);
    // Tilt X 63 (far right), Y upright: azimuth 900, altitude 900 - 10 x 58.
    EXPECT_EQ(GetU16(report, kAzimuthOffset), 900);
    EXPECT_EQ(GetU16(report, kAltitudeOffset), 320);
}

TEST(ReportDecoder, StatusHighHalvesNormalise) {
    const struct {
        uint8_t in, out;
    } cases[] = {{0x11, 0x91}, {0x91, 0x91}, {0x31, 0xB1}, {0xB2, 0xB2}, {0x10, 0x90}, {0x51, 0x51}, {0x03, 0x03}};
    for (const auto& c : cases) EXPECT_EQ(NormaliseStatus(c.in), c.out) << int{c.in};
}

TEST(TiltDecoder, UprightAxesAndQuadrants) {
    const struct {
        uint8_t tx, ty;
        int azimuth, altitude;
    } cases[] = {
        {32, 64, 1800, 900}, {0, 64, 2700, 300}, {32, 127, 1800, 310}, {32, 0, 0, 300},
        {63, 64, 900, 320},  {0, 65, 2700, 300}, {40, 65, 900, 750},
    };
    for (const auto& c : cases) {
        const Tilt t = DecodeTilt(c.tx, c.ty);
        EXPECT_EQ(t.azimuth, c.azimuth) << int{c.tx} << "," << int{c.ty};
        EXPECT_EQ(t.altitude, c.altitude) << int{c.tx} << "," << int{c.ty};
    }
}

TEST(TiltDecoder, DiagonalTiltsLandInTheirQuadrant) {
    // ax, ay both +30 degrees (tx 48, ty 96): equal tangents.
    const Tilt pp = DecodeTilt(48, 96);
    const Tilt np = DecodeTilt(16, 96);
    const Tilt nn = DecodeTilt(16, 32);
    const Tilt pn = DecodeTilt(48, 32);
    EXPECT_EQ(pp.azimuth, 1349);  // the base angle is 45.02 degrees with 3.14 for pi
    EXPECT_EQ(np.azimuth, 2250);
    EXPECT_EQ(nn.azimuth, 3149);
    EXPECT_EQ(pn.azimuth, 450);
    EXPECT_EQ(pp.altitude, nn.altitude);
    EXPECT_GT(pp.altitude, 300);
    EXPECT_LT(pp.altitude, 900);
    // Only the low bits are tilt: byte 7's pressure bits and byte 8's top bit change nothing.
    const Tilt masked = DecodeTilt(48 | 0xC0, 96 | 0x80);
    EXPECT_EQ(masked.azimuth, pp.azimuth);
    EXPECT_EQ(masked.altitude, pp.altitude);
}

TEST(PressureCurve, DeadZoneAndScaling) {
    EXPECT_EQ(ScaleRawPressure(42, 1023), 0);
    EXPECT_EQ(ScaleRawPressure(42, 511), 0);
    EXPECT_EQ(ScaleRawPressure(43, 1023), 0);
    EXPECT_EQ(ScaleRawPressure(511, 511), 1021);
    EXPECT_EQ(ScaleRawPressure(1023, 1023), 1022);
    EXPECT_EQ(ScaleRawPressure(0, 511), 0);
}

TEST(PressureCurve, LevelsBendTheCurve) {
    EXPECT_EQ(ApplyPressureCurve(512, 200, 1), 256);
    EXPECT_EQ(ApplyPressureCurve(512, 100, 1), 512);
    EXPECT_EQ(ApplyPressureCurve(0, 200, 0), 0);
    EXPECT_EQ(ApplyPressureCurve(0, 200, 1), 1) << "a tip that is down never reports 0";
    EXPECT_EQ(ApplyPressureCurve(0, 100, 1), 1);
    EXPECT_GT(ApplyPressureCurve(256, 0, 1), 256) << "level 0 is the inverse bend";
    EXPECT_LT(ApplyPressureCurve(256, 150, 1), 256);
    EXPECT_GE(ApplyPressureCurve(1023, 0, 1), 1022);
    EXPECT_GE(ApplyPressureCurve(1023, 200, 1), 1022);
    // A level far beyond the slider's range bends below zero; it is clamped, not wrapped.
    EXPECT_EQ(ApplyPressureCurve(10, 65535, 0), 0);
    EXPECT_EQ(ApplyPressureCurve(10, 65535, 1), 1);
    // A corrupt report's raw pressure of 65535 with such a level bends past any int: it saturates.
    const int scaled = ScaleRawPressure(65535, 1023);
    EXPECT_EQ(ApplyPressureCurve(scaled, 65535, 1), INT_MAX);
    EXPECT_EQ(ApplyPressureCurve(scaled, 100, 1), scaled);
}

}  // namespace
