// A platform that does nothing: tests and benchmarks override the calls they observe.
#pragma once

#include "platform_port.h"

namespace ktpen {

class QuietPort : public PlatformPort {
  public:
    void PointerEvent(uint32_t, int32_t, int32_t, const LastSentState&) override {}
    void SystemMouseEvent(uint32_t, int32_t, int32_t) override {}
    void Post(PostTarget, uint32_t, uint32_t, uint32_t, uint32_t) override {}
    uint64_t PerformanceCounter() override { return 0; }
    uint64_t PerformanceFrequency() override { return 1; }
    uint32_t TickCount() override { return 0; }
    void Sleep(uint32_t) override {}
};

}  // namespace ktpen
