#include "pointer_injector.h"

#include "report_record.h"

namespace ktpen {

bool PointerInjector::MapAndInject(const ActiveArea* area, uint16_t x, uint16_t y, uint8_t b, uint8_t p,
                                   bool moveSystemCursor, const LastSentState& state, PlatformPort& port) {
    DesktopPoint point;
    if (!MapToDesktop(area, x, y, point)) {
        if (moveSystemCursor && area != nullptr) ReleaseOutsideArea(*area, x, y, b, p, state, port);
        return false;
    }
    if (moveSystemCursor) Inject(point, b, p, state, port);
    return true;
}

void PointerInjector::Inject(const DesktopPoint& point, uint8_t b, uint8_t p, const LastSentState& state,
                             PlatformPort& port) {
    if (b == kTipButton && p != kTipButton) {
        if (rightButtonDown_) {
            rightButtonDown_ = false;
            port.PointerEvent(kRightUp, 0, 0, state);
        }
        port.PointerEvent(kLeftDown, point.dx, point.dy, state);
    } else if (b != kTipButton && p == kTipButton) {
        port.PointerEvent(kLeftUp, point.dx, point.dy, state);
    } else if (b == kSideButton && p != kSideButton) {
        rightButtonDown_ = true;
        port.PointerEvent(kRightDown, 0, 0, state);
    } else if (b != kSideButton && p == kSideButton) {
        rightButtonDown_ = false;
        port.PointerEvent(kRightUp, 0, 0, state);
    } else {
        port.PointerEvent(kMove, point.dx, point.dy, state);
    }
}

// A button let go while the pen is beyond the active area is released at the area's edge; otherwise it
// would stay held, and the next movement inside the area would drag.
void PointerInjector::ReleaseOutsideArea(const ActiveArea& area, uint16_t x, uint16_t y, uint8_t b, uint8_t p,
                                         const LastSentState& state, PlatformPort& port) {
    if (b != kTipButton && p == kTipButton) {
        const DesktopPoint edge = MapNearestInside(area, x, y);
        port.PointerEvent(kLeftUp, edge.dx, edge.dy, state);
    } else if (b != kSideButton && p == kSideButton) {
        rightButtonDown_ = false;
        port.PointerEvent(kRightUp, 0, 0, state);
    }
}

void PointerInjector::ReleaseOnLeave(uint8_t p, const LastSentState& state, PlatformPort& port) {
    if (p == kTipButton) port.PointerEvent(kLeftUp, 0, 0, state);
    if (p == kSideButton) port.PointerEvent(kRightUpAbsolute, 0, 0, state);
}

}  // namespace ktpen
