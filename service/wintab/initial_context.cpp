#include "initial_context.h"

#include <cstring>

#include "settings_file.h"

namespace ktpen {
namespace {

constexpr uint32_t kUnitySensitivity = 0x10000;  // FIX32 1.0
constexpr int32_t kSystemExtentX = 1024;
constexpr int32_t kSystemExtentY = 768;
constexpr uint32_t kPacketRate = 100;

}  // namespace

void InitialiseContextBlock(pz::WintabContextBlock& block, uint32_t contextId) {
    // A fresh mapping is zero already; clearing again keeps the rule independent of where it came from.
    std::memset(&block, 0, sizeof block);
    block.ContextId = contextId;
    wintab::LOGCONTEXTA& lc = block.Context;
    lc.lcOptions = wintab::CXO_SYSTEM;
    lc.lcMsgBase = wintab::WT_DEFBASE;
    lc.lcPktRate = kPacketRate;
    lc.lcPktData = wintab::PK_CURSOR | wintab::PK_BUTTONS | wintab::PK_X | wintab::PK_Y | wintab::PK_NORMAL_PRESSURE;
    lc.lcMoveMask = wintab::PK_X | wintab::PK_Y;
    lc.lcInExtX = lc.lcOutExtX = pz::kTabletMaxX;
    lc.lcInExtY = lc.lcOutExtY = pz::kTabletMaxY;
    lc.lcSensX = lc.lcSensY = lc.lcSensZ = kUnitySensitivity;
    lc.lcSysExtX = kSystemExtentX;
    lc.lcSysExtY = kSystemExtentY;
    lc.lcSysSensX = lc.lcSysSensY = kUnitySensitivity;
}

}  // namespace ktpen
