// A tablet lost with the pen down: the held button is released at once, not when the tablet comes back.
#include <gtest/gtest.h>

#include <vector>

#include "pen_pipeline.h"
#include "pointer_injector.h"
#include "quiet_port.h"

namespace {

using namespace ktpen;

class SystemEventPort : public QuietPort {
  public:
    std::vector<uint32_t> systemEvents;
    void SystemMouseEvent(uint32_t flags, int32_t, int32_t) override { systemEvents.push_back(flags); }
};

struct LossCase {
    const char* name;
    std::vector<uint8_t> statuses;  // the reports before the loss
    std::vector<uint32_t> released;
};

class TabletLoss : public ::testing::TestWithParam<LossCase> {};

TEST_P(TabletLoss, ReleasesWhatThePenHeldOnce) {
    SystemEventPort port;
    PenPipeline pipeline(port);
    pipeline.OnTabletOpened({8, 1023, true});
    pipeline.StartReading();
    uint16_t x = 3000;
    for (uint8_t status : GetParam().statuses) {
        uint8_t report[kReportBufferSize] = {0x02, status, static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8),
                                             0xA0, 0x0F,   status & 1 ? 0x40 : 0,   0x01};
        pipeline.OnReportReceived(report, 8);
        x = static_cast<uint16_t>(x + 40);
    }
    pipeline.OnTabletLost();
    pipeline.OnTabletLost();  // the service stopping after the loss releases nothing twice
    EXPECT_EQ(port.systemEvents, GetParam().released);
}

INSTANTIATE_TEST_SUITE_P(Pen, TabletLoss,
                         ::testing::Values(LossCase{"TipDown", {0x90, 0x91, 0x91}, {kWatchdogLeftUp}},
                                           LossCase{"SideButtonDown", {0x90, 0x92, 0x92}, {kRightUpAfterLoss}},
                                           LossCase{"Hovering", {0x90, 0x90}, {}},
                                           LossCase{"AlreadyLeft", {0x90, 0x91, 0x90, 0x00}, {}}),
                         [](const ::testing::TestParamInfo<LossCase>& info) { return std::string(info.param.name); });

}  // namespace
