// What a report script must produce at the service's outputs: every pointer event and every Wintab
// packet, each tagged with the report that caused it. The script runs through the same pen pipeline the
// service runs, with the service's settings, tablet and the client's context.
#pragma once

#include <cstdint>
#include <vector>

#include "pen_pipeline.h"
#include "report_script.h"

namespace pzbench {

struct PipelineSetup {
    ktpen::TabletProperties tablet;
    bool withSettings = true;  // false: the service runs without its settings block
    uint16_t areaLeft = 0, areaTop = 0, areaRight = 10206, areaBottom = 7422;
    uint16_t pressureLevel = 100;
    bool withContext = false;  // a current, enabled Wintab context with these values
    uint32_t contextOptions = 0;
    int32_t outOrgX = 0, outOrgY = 0, outExtX = 0, outExtY = 0;
};

// The pointer event flags of mouse_eventEx, as button and move actions.
enum class PointerAction : uint8_t { Move, LeftDown, LeftUp, RightDown, RightUp };

struct ExpectedPointer {
    uint32_t report;  // index among the script's report lines, from 0
    PointerAction action;
    int32_t dx, dy;  // 0..65535 over the virtual desktop; meaningful for moves
};

struct ExpectedPacket {
    uint32_t report;
    int32_t x, y;  // in the context's output coordinates
    uint32_t buttons;
};

struct ExpectedEffects {
    uint32_t reports = 0;  // report lines in the script
    std::vector<ExpectedPointer> pointer;
    std::vector<ExpectedPacket> packets;
};

// `delivered`, when given, tells for each report line whether the device sent it (a report played while
// the device was unplugged never reaches the service); the others are counted but not processed.
ExpectedEffects ExpectEffects(const std::vector<pz::ScriptStep>& steps, const PipelineSetup& setup,
                              const std::vector<bool>* delivered = nullptr);

// The action of a mouse_eventEx flag value.
PointerAction ActionOfFlags(uint32_t flags);

}  // namespace pzbench
