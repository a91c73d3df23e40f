#include "stroke_script.h"

#include <cmath>
#include <cstdio>

namespace pzbench {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kLineReports = 400;  // tip down along one line
constexpr uint32_t kHoverReports = 24;  // pen up, back to the next line's start
constexpr double kLineStartX = 1000;
constexpr double kAdvance = 20;  // tablet units per report along the line
constexpr double kLoopRadius = 320;
constexpr double kLoopReports = 40;  // one loop every 40 reports: ten loops per line
constexpr double kFirstLineY = 1200;
constexpr double kLineSpacing = 900;
constexpr uint32_t kLines = 6;  // then the page starts again from the top
constexpr unsigned kHover = 0x90;
constexpr unsigned kTip = 0x91;

struct Sample {
    unsigned status;
    unsigned x;
    unsigned y;
    unsigned pressure;
};

double LineY(uint32_t line) {
    return kFirstLineY + kLineSpacing * (line % kLines);
}

// Report `i` of a line: the loop of a cursive "e" around a point that advances along the line.
Sample Writing(uint32_t line, uint32_t i) {
    const double phase = 2 * kPi * i / kLoopReports;
    const double x = kLineStartX + kAdvance * i + kLoopRadius * std::sin(phase);
    const double y = LineY(line) - kLoopRadius * (1 - std::cos(phase));
    // Pressure builds up over the first reports, wavers with the loops and eases off at the end.
    const double envelope = std::fmin(1.0, std::fmin(i + 1, kLineReports - i) / 20.0);
    const double pressure = envelope * (600 + 150 * std::sin(phase / 3));
    return {kTip, static_cast<unsigned>(x), static_cast<unsigned>(y), static_cast<unsigned>(pressure)};
}

// Report `i` of the hover from the end of `line` to the start of the next one.
Sample Hovering(uint32_t line, uint32_t i) {
    const double fromX = kLineStartX + kAdvance * kLineReports, toX = kLineStartX;
    const double fromY = LineY(line), toY = LineY(line + 1);
    const double t = (i + 1.0) / kHoverReports;
    return {kHover, static_cast<unsigned>(fromX + (toX - fromX) * t), static_cast<unsigned>(fromY + (toY - fromY) * t),
            0};
}

Sample StrokeSample(uint32_t n) {
    const uint32_t cycle = kLineReports + kHoverReports;
    const uint32_t line = n / cycle, i = n % cycle;
    return i < kLineReports ? Writing(line, i) : Hovering(line, i - kLineReports);
}

}  // namespace

std::string MakeStrokeScript(const StrokeOptions& options) {
    std::string script = "# latency stroke: " + std::to_string(options.reports) + " reports, one every " +
                         std::to_string(options.intervalMs) + " ms\n";
    char line[64];
    for (uint32_t n = 0; n + 1 < options.reports; ++n) {
        // The pen arrives hovering (the first report in range never presses the tip anyway) and lifts the
        // tip before it leaves, so that the out-of-range report releases nothing.
        Sample s = StrokeSample(n);
        if (n == 0 || n + 2 == options.reports) s = {kHover, s.x, s.y, 0};
        std::snprintf(line, sizeof line, "+%u 02 %02x %02x %02x %02x %02x %02x %02x\n", options.intervalMs, s.status,
                      s.x & 0xFF, s.x >> 8, s.y & 0xFF, s.y >> 8, s.pressure & 0xFF, s.pressure >> 8);
        script += line;
    }
    if (options.reports > 0) script += "+" + std::to_string(options.intervalMs) + " 02 00 00 00 00 00 00 00\n";
    return script;
}

}  // namespace pzbench
