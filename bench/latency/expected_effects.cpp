#include "expected_effects.h"

#include <cstring>
#include <memory>

#include "packet_builder.h"

namespace pzbench {
namespace {

constexpr uint32_t kWatchdogPeriodMs = 200;
constexpr uint32_t kWatchdogRestMs = 500;
constexpr uint32_t kMouseMove = 0x0001, kLeftDown = 0x0002, kLeftUp = 0x0004, kRightDown = 0x0008;

// The pipeline on a simulated clock that runs at the script's pace, recording its outputs.
class Recorder : private ktpen::PlatformPort, private ktpen::PacketObserver {
  public:
    explicit Recorder(const PipelineSetup& setup) : setup_(setup), pipeline_(*this) {
        if (setup.withSettings) {
            settings_ = std::make_unique<pz::ControlPanelBlock>();
            std::memset(settings_.get(), 0, sizeof(pz::ControlPanelBlock));
            pz::SettingsRecord& r = settings_->Record;
            r.PressureLevel = setup.pressureLevel;
            r.AreaLeft = setup.areaLeft;
            r.AreaTop = setup.areaTop;
            r.AreaRight = setup.areaRight;
            r.AreaBottom = setup.areaBottom;
            pipeline_.SetSettingsView(settings_.get());
        }
        if (setup.withContext) {
            context_ = std::make_unique<pz::WintabContextBlock>();
            std::memset(context_.get(), 0, sizeof(pz::WintabContextBlock));
            context_->ContextId = pz::kFirstContextId;
            context_->Enabled = 1;
            wintab::LOGCONTEXTA& lc = context_->Context;
            lc.lcOptions = setup.contextOptions;
            lc.lcOutOrgX = setup.outOrgX;
            lc.lcOutOrgY = setup.outOrgY;
            lc.lcOutExtX = setup.outExtX;
            lc.lcOutExtY = setup.outExtY;
            pipeline_.SetCurrentContext(context_.get());
        }
        pipeline_.SetPacketObserver(this);
        pipeline_.OnTabletOpened(setup.tablet);
        pipeline_.StartReading();
    }

    ExpectedEffects Run(const std::vector<pz::ScriptStep>& steps, const std::vector<bool>* delivered) {
        uint32_t scheduled = 0;
        for (const pz::ScriptStep& step : steps) {
            scheduled += step.delayMs;
            AdvanceTo(scheduled);
            if (step.kind != pz::ScriptStepKind::Report) continue;
            // The reader drops a read that is not exactly one report long.
            const uint32_t report = effects_.reports;
            const bool sent = delivered == nullptr || (report < delivered->size() && (*delivered)[report]);
            if (sent && step.bytes.size() == setup_.tablet.reportLength &&
                step.bytes.size() <= ktpen::kReportBufferSize) {
                uint8_t buffer[ktpen::kReportBufferSize] = {};
                std::memcpy(buffer, step.bytes.data(), step.bytes.size());
                pipeline_.OnReportReceived(buffer, step.bytes.size());
            }
            ++effects_.reports;
        }
        return effects_;
    }

  private:
    // The watchdog's checks due before `time` (only tablets without their own leave report have one).
    void AdvanceTo(uint32_t time) {
        if (!setup_.tablet.ownLeaveReport) {
            while (nextWatchdogCheck_ < time) {
                now_ = nextWatchdogCheck_;
                nextWatchdogCheck_ +=
                    pipeline_.WatchdogCheck() ? kWatchdogRestMs + kWatchdogPeriodMs : kWatchdogPeriodMs;
            }
        }
        if (time > now_) now_ = time;
    }

    void PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const ktpen::LastSentState&) override {
        effects_.pointer.push_back({effects_.reports, ActionOfFlags(flags), dx, dy});
    }
    void OnPacketQueued(uint32_t, const wintab::PACKET& packet, uint32_t) override {
        effects_.packets.push_back({effects_.reports, packet.pkX, packet.pkY, packet.pkButtons});
    }
    // The watchdog's own release and the posted messages are no report's effects.
    void SystemMouseEvent(uint32_t, int32_t, int32_t) override {}
    void Post(ktpen::PostTarget, uint32_t, uint32_t, uint32_t, uint32_t) override {}
    uint64_t PerformanceCounter() override { return uint64_t{now_} * 1000; }
    uint64_t PerformanceFrequency() override { return 1000000; }
    uint32_t TickCount() override { return now_; }
    void Sleep(uint32_t milliseconds) override { AdvanceTo(now_ + milliseconds); }

    PipelineSetup setup_;
    std::unique_ptr<pz::ControlPanelBlock> settings_;
    std::unique_ptr<pz::WintabContextBlock> context_;
    ktpen::PenPipeline pipeline_;
    ExpectedEffects effects_;
    uint32_t now_ = 0;
    uint32_t nextWatchdogCheck_ = kWatchdogPeriodMs;
};

}  // namespace

PointerAction ActionOfFlags(uint32_t flags) {
    if (flags & kLeftDown) return PointerAction::LeftDown;
    if (flags & kLeftUp) return PointerAction::LeftUp;
    if (flags & kRightDown) return PointerAction::RightDown;
    if (flags & kMouseMove) return PointerAction::Move;
    return PointerAction::RightUp;
}

ExpectedEffects ExpectEffects(const std::vector<pz::ScriptStep>& steps, const PipelineSetup& setup,
                              const std::vector<bool>* delivered) {
    return Recorder(setup).Run(steps, delivered);
}

}  // namespace pzbench
