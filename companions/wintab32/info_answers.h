// The answers of WTInfo: what the interface, its status, the default contexts, the tablet and its two pen
// ends report. Portable; the library fills the environment from the running system.
#pragma once

#include <cstdint>
#include <vector>

#include "wintab_types.h"

namespace wt32 {

struct InfoEnvironment {
    int32_t screenLeft = 0;  // the virtual desktop, for the system-cursor fields of the contexts
    int32_t screenTop = 0;
    int32_t screenWidth = 1024;
    int32_t screenHeight = 768;
    uint16_t tabletWidthInches = 0;  // of the open tablet; 0 when no tablet is known
    uint16_t tabletHeightInches = 0;
    uint16_t productId = 0;
    uint32_t openContexts = 0;  // of this process
    uint32_t openSystemContexts = 0;
    uint32_t openPacketData = 0;  // union of the open contexts' lcPktData
};

constexpr int32_t kTabletMaxX = 10206;
constexpr int32_t kTabletMaxY = 7422;
constexpr uint32_t kPressureMax = 1023;
constexpr uint32_t kCursorCount = 3;  // 0 is the puck slot these tablets never use; 1 pen tip, 2 eraser
constexpr uint32_t kPenCursor = 1;
constexpr uint32_t kEraserCursor = 2;
constexpr uint32_t kMaxContexts = 10;  // the service registers ten clients
constexpr uint32_t kContextSaveSize = 180;
constexpr uint32_t kDevicePacketData = 0x15FF;  // PK_CONTEXT..PK_NORMAL_PRESSURE and PK_ORIENTATION
constexpr uint32_t kSupportedOptions = wintab::CXO_SYSTEM | wintab::CXO_MESSAGES | wintab::CXO_CSRMESSAGES;

// A LOGCONTEXTW: the same fields after a name of 40 UTF-16 units.
struct LOGCONTEXTW {
    char16_t lcName[40];
    uint8_t Tail[132];  // lcOptions .. lcSysSensY, laid out as in LOGCONTEXTA
};
static_assert(sizeof(LOGCONTEXTW) == 212, "LOGCONTEXTW is 212 bytes");

// The default digitizing context (system = false) or the default system context.
wintab::LOGCONTEXTA DefaultContext(bool system, const InfoEnvironment& env);

// The bytes WTInfo copies for (category, index); empty when the item is not supported. Strings are UTF-16
// when `wide`. Index 0 gives the whole category: the context itself, or every item in index order.
std::vector<uint8_t> InfoAnswer(uint32_t category, uint32_t index, bool wide, const InfoEnvironment& env);

// The size of the largest answer, which WTInfo(0, 0, NULL) reports.
uint32_t LargestInfoAnswer(bool wide, const InfoEnvironment& env);

// The context as WTInfoW / WTGetW give it, and back.
LOGCONTEXTW WidenContext(const wintab::LOGCONTEXTA& context);
wintab::LOGCONTEXTA NarrowContext(const LOGCONTEXTW& context);

}  // namespace wt32
