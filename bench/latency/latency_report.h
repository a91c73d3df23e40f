// The latency probe's findings: the effects a script should cause, paired with what arrived, and the
// summary as "key=value" lines (latencies from the report's write to the arrival).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "expected_effects.h"
#include "latency_pairing.h"

namespace pzbench {

// simhid's stamp log (tools/simhid/stamp_log.h): the counter frequency and, for each report line,
// whether the report was delivered and the counter just before its write.
struct WriteStamps {
    int64_t frequency = 0;
    std::vector<bool> delivered;
    std::vector<int64_t> written;
};

// False for a malformed log.
bool ParseStampLog(const std::string& text, WriteStamps& stamps);

// The virtual desktop in pixels, as the system maps absolute pointer coordinates onto it.
struct ScreenGeometry {
    int32_t left = 0, top = 0, width = 1024, height = 768;
};

int32_t PixelX(int32_t dx, const ScreenGeometry& screen);
int32_t PixelY(int32_t dy, const ScreenGeometry& screen);

// Pointer expectations in pixels, with the action as the kind. A move onto the pixel the pointer is
// already on may reach no hook: it is left out and counted in `unobservable`. `cursorX`/`cursorY` is
// where the pointer stood before the first event.
std::vector<Expected> PointerExpectations(const ExpectedEffects& effects, const ScreenGeometry& screen, int32_t cursorX,
                                          int32_t cursorY, uint32_t& unobservable);
// Packet expectations in the context's output coordinates, with the buttons as the kind.
std::vector<Expected> PacketExpectations(const ExpectedEffects& effects);

struct Percentiles {
    size_t count = 0;
    double p50 = 0, p99 = 0, max = 0;
};

// Nearest-rank percentiles; all zero for no values.
Percentiles Summarize(std::vector<double> values);

struct PathFindings {
    size_t expected = 0;
    size_t arrived = 0;
    Alignment alignment;
};

struct ProbeFindings {
    uint32_t reports = 0;         // report lines in the script
    uint32_t delivered = 0;       // reports simhid wrote
    uint32_t changedSamples = 0;  // reports with at least one expected pointer event or packet
    uint32_t pointerUnobservable = 0;
    PathFindings pointer;
    bool wintab = false;  // whether the packet path was watched
    PathFindings packets;
    size_t packetsUnread = 0;
};

// What the probe saw: the pointer events of the hook (kind: the PointerAction, position in pixels) and,
// when it watched a Wintab context, the packets it read (kind: the buttons).
struct ProbeObservations {
    ScreenGeometry screen;
    int32_t cursorX = 0, cursorY = 0;  // where the pointer stood when the probe started
    std::vector<Arrival> pointer;
    bool wintab = false;
    std::vector<Arrival> packets;
    size_t packetsUnread = 0;  // WT_PACKET messages whose packet could not be read
};

constexpr int32_t kPixelTolerance = 2;   // the system's own rounding of absolute coordinates
constexpr int32_t kPacketTolerance = 0;  // packets carry the pipeline's numbers unchanged

ProbeFindings Analyse(const std::vector<pz::ScriptStep>& steps, const PipelineSetup& setup, const WriteStamps& stamps,
                      const ProbeObservations& seen);

// Changed samples that produced no pointer event or no packet (the packet path counts when watched).
size_t UnansweredSamples(const ProbeFindings& findings);

// The summary: counts, the changed samples left without an event or packet, and for each path p50, p99
// and max of the latency in milliseconds (packets: at WT_PACKET and once read).
std::string FormatFindings(const ProbeFindings& findings, const WriteStamps& stamps);
// The summary of a watch without a script: what arrived, nothing paired.
std::string FormatCounts(size_t pointerEvents, bool wintab, size_t packets, size_t packetsUnread);

}  // namespace pzbench
