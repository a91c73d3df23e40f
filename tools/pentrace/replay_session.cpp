#include "replay_session.h"

#include <cstdio>
#include <cstring>

namespace ktpen {
namespace {

constexpr uint32_t kWatchdogPeriodMs = 200;
constexpr uint32_t kWatchdogRestMs = 500;

}  // namespace

ReplaySession::ReplaySession(const ReplayOptions& options) : options_(options), pipeline_(*this) {
    if (options.withSettings) {
        settings_ = std::make_unique<pz::ControlPanelBlock>();
        std::memset(settings_.get(), 0, sizeof(pz::ControlPanelBlock));
        pz::SettingsRecord& r = settings_->Record;
        r.PressureLevel = options.pressureLevel;
        r.AreaLeft = options.area.left;
        r.AreaTop = options.area.top;
        r.AreaRight = options.area.right;
        r.AreaBottom = options.area.bottom;
        r.PositionWindow = options.positionWindow ? kReplayPositionWindow : 0;
        pipeline_.SetSettingsView(settings_.get());
    }
    if (options.withContext) {
        context_ = std::make_unique<pz::WintabContextBlock>();
        std::memset(context_.get(), 0, sizeof(pz::WintabContextBlock));
        context_->ClientWindow = kReplayClientWindow;
        context_->ContextId = pz::kFirstContextId;
        context_->Enabled = options.contextDisabled ? 0 : 1;
        wintab::LOGCONTEXTA& lc = context_->Context;
        lc.lcOptions = options.contextOptions;
        lc.lcOutOrgX = options.outOrgX;
        lc.lcOutOrgY = options.outOrgY;
        lc.lcOutExtX = options.outExtX;
        lc.lcOutExtY = options.outExtY;
        pipeline_.SetCurrentContext(context_.get());
    }
    pipeline_.SetPacketObserver(this);
    pipeline_.OnTabletOpened(options.tablet);
    pipeline_.StartReading();
}

ReplaySession::~ReplaySession() = default;

void ReplaySession::AdvanceTo(uint32_t time, bool includeTime) {
    if (!options_.tablet.ownLeaveReport) {
        while (nextWatchdogCheck_ < time || (includeTime && nextWatchdogCheck_ == time)) {
            now_ = nextWatchdogCheck_;
            const bool fired = pipeline_.WatchdogCheck();
            nextWatchdogCheck_ += fired ? kWatchdogRestMs + kWatchdogPeriodMs : kWatchdogPeriodMs;
        }
    }
    if (time > now_) now_ = time;
}

void ReplaySession::Run(const std::vector<pz::ScriptStep>& steps) {
    uint32_t scheduled = 0;
    for (const pz::ScriptStep& step : steps) {
        scheduled += step.delayMs;
        // A report whose time has passed (during an eraser flip) is processed at once; a watchdog check
        // in the same millisecond as a report runs after it.
        AdvanceTo(scheduled, false);
        if (step.kind != pz::ScriptStepKind::Report) continue;
        // The reader drops a read that is not exactly one report long.
        if (step.bytes.size() != options_.tablet.reportLength || step.bytes.size() > kReportBufferSize) continue;
        uint8_t buffer[kReportBufferSize] = {};
        std::memcpy(buffer, step.bytes.data(), step.bytes.size());
        pipeline_.OnReportReceived(buffer, step.bytes.size());
    }
    AdvanceTo(now_ + options_.tailMs, true);
}

void ReplaySession::Sleep(uint32_t milliseconds) {
    AdvanceTo(now_ + milliseconds, false);
}

void ReplaySession::PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState& state) {
    ReplayEvent e(ReplayEvent::Kind::Pointer, now_);
    e.flags = flags;
    e.dx = dx;
    e.dy = dy;
    e.state = state;
    events_.push_back(e);
}

void ReplaySession::SystemMouseEvent(uint32_t flags, int32_t dx, int32_t dy) {
    ReplayEvent e(ReplayEvent::Kind::MouseEvent, now_);
    e.flags = flags;
    e.dx = dx;
    e.dy = dy;
    events_.push_back(e);
}

void ReplaySession::Post(PostTarget target, uint32_t, uint32_t message, uint32_t wParam, uint32_t lParam) {
    ReplayEvent e(ReplayEvent::Kind::Post, now_);
    e.target = target;
    e.message = message;
    e.wParam = wParam;
    e.lParam = lParam;
    events_.push_back(e);
}

void ReplaySession::OnPacketQueued(uint32_t index, const wintab::PACKET& packet, uint32_t queueLength) {
    ReplayEvent e(ReplayEvent::Kind::Packet, now_);
    e.index = index;
    e.packet = packet;
    e.queueLength = queueLength;
    events_.push_back(e);
}

std::string FormatEventJson(const ReplayEvent& e) {
    char line[512];
    switch (e.kind) {
        case ReplayEvent::Kind::Pointer:
            std::snprintf(line, sizeof line,
                          R"({"t":%u,"kind":"pointer","flags":%u,"dx":%d,"dy":%d,"buttons":%u,"x":%u,"y":%u})", e.t,
                          e.flags, e.dx, e.dy, unsigned{e.state.buttons}, unsigned{e.state.x}, unsigned{e.state.y});
            break;
        case ReplayEvent::Kind::MouseEvent:
            std::snprintf(line, sizeof line, R"({"t":%u,"kind":"mouse_event","flags":%u,"dx":%d,"dy":%d})", e.t,
                          e.flags, e.dx, e.dy);
            break;
        case ReplayEvent::Kind::Post:
            std::snprintf(line, sizeof line, R"({"t":%u,"kind":"post","to":"%s","msg":%u,"wParam":%u,"lParam":%u})",
                          e.t, e.target == PostTarget::PositionWindow ? "position" : "client", e.message, e.wParam,
                          e.lParam);
            break;
        case ReplayEvent::Kind::Packet: {
            const wintab::PACKET& p = e.packet;
            std::snprintf(line, sizeof line,
                          R"({"t":%u,"kind":"packet","index":%u,"context":%u,"status":%u,"time":%u,"changed":%u,)"
                          R"("serial":%u,"cursor":%u,"buttons":%u,"x":%d,"y":%d,"z":%d,"pressure":%u,"tangent":%u,)"
                          R"("azimuth":%d,"altitude":%d,"twist":%d,"queue_length":%u})",
                          e.t, e.index, p.pkContext, p.pkStatus, p.pkTime, p.pkChanged, p.pkSerialNumber, p.pkCursor,
                          p.pkButtons, p.pkX, p.pkY, p.pkZ, p.pkNormalPressure, p.pkTangentPressure,
                          p.pkOrientation.orAzimuth, p.pkOrientation.orAltitude, p.pkOrientation.orTwist,
                          e.queueLength);
            break;
        }
    }
    return line;
}

}  // namespace ktpen
