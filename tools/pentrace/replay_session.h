// Runs a report script through the pen pipeline on a simulated clock and records every effect: pointer
// events, the watchdog's mouse_event, posted messages and queued packets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pen_pipeline.h"
#include "report_script.h"

namespace ktpen {

struct ReplayOptions {
    TabletProperties tablet;
    bool withSettings = true;
    ActiveArea area{0, 0, 10206, 7422};
    uint16_t pressureLevel = 100;
    bool positionWindow = false;
    bool withContext = false;
    uint32_t contextOptions = 0;
    int32_t outOrgX = 0, outOrgY = 0, outExtX = 0, outExtY = 0;
    bool contextDisabled = false;
    uint32_t tailMs = 1000;
};

// Window handles the simulated blocks carry.
constexpr uint32_t kReplayPositionWindow = 0x1000;
constexpr uint32_t kReplayClientWindow = 0x2000;

struct ReplayEvent {
    enum class Kind { Pointer, MouseEvent, Post, Packet };
    ReplayEvent(Kind eventKind, uint32_t time) : kind(eventKind), t(time) {}
    Kind kind;
    uint32_t t;
    uint32_t flags = 0;
    int32_t dx = 0, dy = 0;
    LastSentState state;  // Pointer
    PostTarget target = PostTarget::ClientWindow;
    uint32_t message = 0, wParam = 0, lParam = 0;  // Post
    uint32_t index = 0, queueLength = 0;           // Packet
    wintab::PACKET packet{};
};

class ReplaySession : private PlatformPort, private PacketObserver {
  public:
    explicit ReplaySession(const ReplayOptions& options);
    ~ReplaySession() override;

    void Run(const std::vector<pz::ScriptStep>& steps);
    const std::vector<ReplayEvent>& Events() const { return events_; }
    pz::WintabContextBlock* Context() { return context_.get(); }
    pz::ControlPanelBlock* Settings() { return settings_.get(); }

  private:
    void PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState& state) override;
    void SystemMouseEvent(uint32_t flags, int32_t dx, int32_t dy) override;
    void Post(PostTarget target, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam) override;
    uint64_t PerformanceCounter() override { return uint64_t{now_} * 1000; }
    uint64_t PerformanceFrequency() override { return 1000000; }
    uint32_t TickCount() override { return now_; }
    void Sleep(uint32_t milliseconds) override;
    void OnPacketQueued(uint32_t index, const wintab::PACKET& packet, uint32_t queueLength) override;

    // Runs the watchdog checks due before `time` (or up to and including it), then sets the clock.
    void AdvanceTo(uint32_t time, bool includeTime);

    ReplayOptions options_;
    std::unique_ptr<pz::ControlPanelBlock> settings_;
    std::unique_ptr<pz::WintabContextBlock> context_;
    PenPipeline pipeline_;
    std::vector<ReplayEvent> events_;
    uint32_t now_ = 0;
    uint32_t nextWatchdogCheck_ = 200;
};

// One event as a line of JSON, without the line end.
std::string FormatEventJson(const ReplayEvent& event);

}  // namespace ktpen
