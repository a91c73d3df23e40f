// The stroke the latency harness plays: lines of cursive loops written with the tip, pressure rising,
// wavering and falling along each line, the pen hovering back to the start of the next line, and one
// out-of-range report at the end. The pen keeps moving by 2 to 8 screen pixels per report, so that every
// in-range report is a changed sample whose pointer event a low-level hook can see.
#pragma once

#include <cstdint>
#include <string>

namespace pzbench {

struct StrokeOptions {
    uint32_t reports = 10000;  // report lines in all, the final out-of-range report included
    uint32_t intervalMs = 5;   // time between reports: 5 for a 200 Hz tablet, 1 for 1000 Hz
};

// A report script of 8-byte reports (pressure up to 1023) for simhid and the replay.
std::string MakeStrokeScript(const StrokeOptions& options);

}  // namespace pzbench
