// Report streams through the whole pen pipeline, as the reader and the watchdog deliver them, with any
// settings block and any Wintab context, degenerate areas and extents included. Besides the sanitizers'
// checks: absolute pointer positions stay on the desktop and the packet queue never exceeds its 64 slots.
#include <algorithm>
#include <memory>

#include "fuzz_input.h"
#include "pen_pipeline.h"

namespace {

using namespace ktpen;

constexpr uint32_t kAbsolute = 0x8000;
constexpr int32_t kDesktopMax = 65535;

class CheckingPort : public PlatformPort {
  public:
    void PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState&) override {
        if (flags & kAbsolute) fuzz::Require(dx >= 0 && dx <= kDesktopMax && dy >= 0 && dy <= kDesktopMax);
    }
    void SystemMouseEvent(uint32_t, int32_t, int32_t) override {}
    void Post(PostTarget, uint32_t, uint32_t, uint32_t, uint32_t) override {}
    uint64_t PerformanceCounter() override { return counter_ += 5000; }
    uint64_t PerformanceFrequency() override { return 1000000; }
    uint32_t TickCount() override { return static_cast<uint32_t>(counter_ / 1000); }
    void Sleep(uint32_t milliseconds) override { counter_ += uint64_t{milliseconds} * 1000; }

  private:
    uint64_t counter_ = 0;
};

void ReadSettings(fuzz::Input& in, pz::ControlPanelBlock& block) {
    block.Record.PressureLevel = in.Take<uint16_t>();
    block.Record.PositionWindow = in.Take<uint32_t>();
    block.Record.AreaLeft = in.Take<uint16_t>();
    block.Record.AreaTop = in.Take<uint16_t>();
    block.Record.AreaRight = in.Take<uint16_t>();
    block.Record.AreaBottom = in.Take<uint16_t>();
}

void ReadContext(fuzz::Input& in, pz::WintabContextBlock& context) {
    context.ContextId = 1537;
    context.ClientWindow = in.Take<uint32_t>();
    context.Enabled = in.Take<uint8_t>() & 1;
    context.Context.lcOptions = in.Take<uint32_t>();
    context.Context.lcOutOrgX = in.Take<int32_t>();
    context.Context.lcOutOrgY = in.Take<int32_t>();
    context.Context.lcOutExtX = in.Take<int32_t>();
    context.Context.lcOutExtY = in.Take<int32_t>();
    context.QueueLength = in.Take<uint8_t>() % (pz::kPacketQueueCapacity + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const uint8_t setup = in.Take<uint8_t>();
    TabletProperties tablet;
    tablet.reportLength = setup & 1 ? 10 : 8;
    tablet.pressureMaximum = setup & 2 ? 511 : 1023;
    tablet.ownLeaveReport = (setup & 4) != 0;

    CheckingPort port;
    auto settings = std::make_unique<pz::ControlPanelBlock>();
    auto context = std::make_unique<pz::WintabContextBlock>();
    PenPipeline pipeline(port);
    if (setup & 8) {
        ReadSettings(in, *settings);
        pipeline.SetSettingsView(settings.get());
    }
    if (setup & 16) {
        ReadContext(in, *context);
        pipeline.SetCurrentContext(context.get());
    }
    pipeline.OnTabletOpened(tablet);
    pipeline.StartReading();

    while (!in.Empty()) {
        const uint8_t step = in.Take<uint8_t>();
        if (step == 0xFF) {
            pipeline.WatchdogCheck();
        } else if (step == 0xFE) {
            pipeline.EmptyQueue(context.get());
        } else {
            // The reader passes on only reads of exactly the tablet's report length.
            uint8_t buffer[kReportBufferSize] = {};
            const size_t received = in.TakeBytes(buffer, std::min<size_t>(step % 16 + 1, tablet.reportLength));
            if (received == tablet.reportLength) pipeline.OnReportReceived(buffer, received);
        }
        fuzz::Require(context->QueueLength <= pz::kPacketQueueCapacity);
    }
    return 0;
}
