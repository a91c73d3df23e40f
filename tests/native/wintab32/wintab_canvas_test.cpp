// wintab-canvas: its options, the pressure-to-width rule and the BMP file it saves.
#include <gtest/gtest.h>

#include <cstring>

#include "bmp_image.h"
#include "canvas_options.h"

namespace {

using canvas::CanvasOptions;

TEST(CanvasOptions, ParsesEveryOption) {
    CanvasOptions options;
    std::string error;
    ASSERT_TRUE(canvas::ParseOptions(
        {"--save", "out.bmp", "--size", "320x200", "--close-after", "1500", "--max-width", "20"}, options, error))
        << error;
    EXPECT_EQ(options.savePath, "out.bmp");
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 200);
    EXPECT_EQ(options.closeAfterMs, 1500);
    EXPECT_EQ(options.maxWidth, 20);
}

TEST(CanvasOptions, RefusesUnknownOptionsAndBadValues) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{{"--colour", "red"},
                                                                                           {"--size", "320"},
                                                                                           {"--size", "8x8"},
                                                                                           {"--size", "320x200x1"},
                                                                                           {"--close-after", "-5"},
                                                                                           {"--max-width", "0"},
                                                                                           {"--save"},
                                                                                           {"--save", ""}}) {
        CanvasOptions options;
        std::string error;
        EXPECT_FALSE(canvas::ParseOptions(arguments, options, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(CanvasOptions, LineWidthFollowsPressure) {
    EXPECT_EQ(canvas::LineWidth(0, 12), 1);
    EXPECT_EQ(canvas::LineWidth(1023, 12), 12);
    EXPECT_EQ(canvas::LineWidth(5000, 12), 12);
    EXPECT_LT(canvas::LineWidth(300, 12), canvas::LineWidth(700, 12));
}

TEST(BmpImage, WritesBottomUpRowsPaddedToFourBytes) {
    const uint32_t pixels[] = {0x00112233, 0x00445566, 0x00FFFFFF,   // top row
                               0x00010203, 0x00040506, 0x00070809};  // bottom row
    const auto file = canvas::EncodeBmp(pixels, 3, 2);
    const uint32_t rowBytes = 12;  // 9 bytes padded
    ASSERT_EQ(file.size(), 54 + 2 * rowBytes);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    uint32_t size = 0, offset = 0;
    int32_t width = 0, height = 0;
    uint16_t bits = 0;
    std::memcpy(&size, &file[2], 4);
    std::memcpy(&offset, &file[10], 4);
    std::memcpy(&width, &file[18], 4);
    std::memcpy(&height, &file[22], 4);
    std::memcpy(&bits, &file[28], 2);
    EXPECT_EQ(size, file.size());
    EXPECT_EQ(offset, 54u);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(bits, 24);
    // The file's first row is the picture's bottom row, blue first.
    EXPECT_EQ(file[54], 0x03);
    EXPECT_EQ(file[55], 0x02);
    EXPECT_EQ(file[56], 0x01);
    EXPECT_EQ(file[54 + 9], 0);  // padding
    EXPECT_EQ(file[54 + rowBytes], 0x33);
    EXPECT_EQ(file[54 + rowBytes + 2], 0x11);
}

}  // namespace
