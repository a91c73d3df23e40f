// Command line of wintab-canvas.exe.
#pragma once

#include <string>
#include <vector>

namespace canvas {

struct CanvasOptions {
    std::string savePath;  // --save PATH: the canvas is written there as a BMP when the window closes
    int width = 640;       // --size WxH: the canvas in pixels; the whole tablet maps onto it
    int height = 480;
    int closeAfterMs = 0;  // --close-after MS: closes itself (and saves) after that long; 0 = never
    int maxWidth = 12;     // --max-width N: line width in pixels at full pressure
};

// Parses the arguments after the program name; false with `error` set on an unknown option or a bad value.
bool ParseOptions(const std::vector<std::string>& arguments, CanvasOptions& options, std::string& error);

// Line width for a pressure of 0..1023: 1 pixel at the lightest touch, `maxWidth` at full pressure.
int LineWidth(unsigned pressure, int maxWidth);

}  // namespace canvas
