// Cost of the pen pipeline per report, on the reader thread's path, with a current Wintab context and a
// settings block. The platform calls are no-ops, so the figures are the pipeline's own work.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "pen_pipeline.h"
#include "pressure_curve.h"
#include "quiet_port.h"
#include "report_record.h"
#include "stroke_filter.h"

namespace {

using namespace ktpen;

// Reports 5 ms apart on a 1 MHz counter.
class NullPort : public QuietPort {
  public:
    uint64_t PerformanceCounter() override { return counter_ += 5000; }
    uint64_t PerformanceFrequency() override { return 1000000; }
    uint32_t TickCount() override { return static_cast<uint32_t>(counter_ / 1000); }

  private:
    uint64_t counter_ = 0;
};

struct Rig {
    NullPort port;
    pz::ControlPanelBlock settings{};
    std::unique_ptr<pz::WintabContextBlock> context = std::make_unique<pz::WintabContextBlock>();
    PenPipeline pipeline{port};

    explicit Rig(uint16_t reportLength) {
        settings.Record.PressureLevel = 150;
        settings.Record.AreaRight = 10206;
        settings.Record.AreaBottom = 7422;
        std::memset(context.get(), 0, sizeof(pz::WintabContextBlock));
        context->ContextId = 1537;
        context->Enabled = 1;
        context->ClientWindow = 0x2000;
        context->Context.lcOptions = wintab::CXO_SYSTEM | wintab::CXO_MESSAGES | wintab::CXO_CSRMESSAGES;
        context->Context.lcOutExtX = 10206;
        context->Context.lcOutExtY = 7422;
        pipeline.SetSettingsView(&settings);
        pipeline.SetCurrentContext(context.get());
        pipeline.OnTabletOpened({reportLength, 1023, true});
        pipeline.StartReading();
    }
};

// A stroke of `count` 8-byte reports: a circle-ish path with the given status and varying pressure.
std::vector<std::vector<uint8_t>> Stroke(uint8_t status, int count) {
    std::vector<std::vector<uint8_t>> reports;
    for (int i = 0; i < count; ++i) {
        const uint16_t x = static_cast<uint16_t>(5000 + (i * 37) % 2000),
                       y = static_cast<uint16_t>(3000 + (i * 53) % 1500);
        const uint16_t p = static_cast<uint16_t>(200 + (i * 11) % 700);
        reports.push_back(
            {1, status, uint8_t(x), uint8_t(x >> 8), uint8_t(y), uint8_t(y >> 8), uint8_t(p), uint8_t(p >> 8)});
    }
    return reports;
}

void RunStroke(benchmark::State& state, uint8_t status) {
    Rig rig(8);
    const auto reports = Stroke(status, 1024);
    uint8_t buffer[kReportBufferSize] = {};
    size_t i = 0;
    for (auto _ : state) {
        std::memcpy(buffer, reports[i++ & 1023].data(), 8);
        rig.pipeline.OnReportReceived(buffer, 8);
        rig.context->QueueLength = 0;  // the client reads the queue
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ProcessReport_Hover(benchmark::State& state) {
    RunStroke(state, 0x90);
}
void BM_ProcessReport_DragWithPressure(benchmark::State& state) {
    RunStroke(state, 0x91);
}
void BM_ProcessReport_Eraser(benchmark::State& state) {
    RunStroke(state, 0xB1);
}

void BM_StrokeFilterStep(benchmark::State& state) {
    CStrokeFilter filter;
    int i = 0;
    for (auto _ : state) {
        uint16_t x = static_cast<uint16_t>(5000 + (i * 37) % 2000), y = static_cast<uint16_t>(3000 + (i * 53) % 1500);
        filter.Step(x, y, 1);
        benchmark::DoNotOptimize(x);
        ++i;
    }
}

void BM_PressureCurve(benchmark::State& state) {
    int p = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApplyPressureCurve(p, static_cast<uint16_t>(state.range(0)), 1));
        p = (p + 7) & 1023;
    }
}

void BM_EnqueuePacket(benchmark::State& state) {
    auto context = std::make_unique<pz::WintabContextBlock>();
    std::memset(context.get(), 0, sizeof(pz::WintabContextBlock));
    PacketBuilder builder;
    const bool clientReads = state.range(0) == 1;
    uint32_t t = 0;
    for (auto _ : state) {
        builder.EnqueuePacket(context.get(), 1, 1, static_cast<int32_t>(t & 8191), 100, 500, t);
        // A reading client empties the queue now and then; without one every packet shifts a full queue.
        if (clientReads && (t & 15) == 15) context->QueueLength = 0;
        ++t;
    }
}

BENCHMARK(BM_ProcessReport_Hover);
BENCHMARK(BM_ProcessReport_DragWithPressure);
BENCHMARK(BM_ProcessReport_Eraser);
BENCHMARK(BM_StrokeFilterStep);
BENCHMARK(BM_PressureCurve)->Arg(100)->Arg(30)->Arg(170);
BENCHMARK(BM_EnqueuePacket)->ArgName("client_reads")->Arg(1)->Arg(0);

}  // namespace

BENCHMARK_MAIN();
