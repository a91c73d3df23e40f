#include "bmp_image.h"

#include <cstddef>

namespace canvas {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const uint32_t* pixels, int width, int height) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageBytes);  // file size
    Put32(out, 0);
    Put32(out, 54);  // pixel data offset
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));        // blue
            out.push_back(static_cast<uint8_t>(row[x] >> 8));   // green
            out.push_back(static_cast<uint8_t>(row[x] >> 16));  // red
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace canvas
