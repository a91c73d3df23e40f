// A 24-bit Windows bitmap file from 32-bit pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace canvas {

// `pixels` are 0x00RRGGBB, `width` x `height`, top row first. Rows of the file run bottom-up, each padded
// to four bytes.
std::vector<uint8_t> EncodeBmp(const uint32_t* pixels, int width, int height);

}  // namespace canvas
