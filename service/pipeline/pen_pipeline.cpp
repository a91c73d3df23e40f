#include "pen_pipeline.h"

#include <cstdlib>
#include <cstring>

#include "object_names.h"
#include "report_decoder.h"
#include "report_record.h"
#include "settings_file.h"

namespace ktpen {
namespace {

constexpr uint32_t kWatchdogSilenceMs = 400;
constexpr uint32_t kFlipLeaveMs = 50;
constexpr uint32_t kFlipReturnMs = 200;

// The area fields of the settings block, read once per sample; nullptr without a block.
const ActiveArea* ReadArea(const pz::ControlPanelBlock* settings, ActiveArea& area) {
    if (settings == nullptr) return nullptr;
    const pz::SettingsRecord& r = settings->Record;
    area = {r.AreaLeft, r.AreaTop, r.AreaRight, r.AreaBottom};
    return &area;
}

}  // namespace

PenPipeline::PenPipeline(PlatformPort& port) : port_(port) {}

void PenPipeline::SetSettingsView(pz::ControlPanelBlock* view) {
    settings_.store(view);
}

void PenPipeline::SetCurrentContext(pz::WintabContextBlock* context) {
    // Every use of the current context happens under the pen state lock.
    std::lock_guard<std::mutex> lock(penStateLock_);
    context_.store(context);
}

void PenPipeline::EmptyQueue(pz::WintabContextBlock* context) {
    std::lock_guard<std::mutex> lock(penStateLock_);
    context->QueueLength = 0;
}

pz::WintabContextBlock* PenPipeline::CurrentContext() const {
    return context_.load();
}

void PenPipeline::OnTabletOpened(const TabletProperties& tablet) {
    std::lock_guard<std::mutex> lock(penStateLock_);
    tablet_ = tablet;
    filter_.SetPressureMaximum(tablet.pressureMaximum);
}

void PenPipeline::StartReading() {
    std::lock_guard<std::mutex> lock(penStateLock_);
    counterFrequency_ = port_.PerformanceFrequency();
    if (counterFrequency_ == 0) counterFrequency_ = 1;
    lastCounter_ = port_.PerformanceCounter();
    packetClock_ = port_.TickCount();
}

PacketEnvironment PenPipeline::Environment(const pz::ControlPanelBlock* settings, bool penDeclaredGone) {
    const uint16_t level = settings != nullptr ? settings->Record.PressureLevel : pz::kLinearPressureLevel;
    return PacketEnvironment{port_, level, tablet_.pressureMaximum, penDeclaredGone};
}

void PenPipeline::OnReportReceived(uint8_t* buffer, size_t length) {
    std::unique_lock<std::mutex> lock(penStateLock_);
    lastReportTick_ = port_.TickCount();
    const bool flipped = ((buffer[kStatusOffset] ^ lastStatusByte_) & kEraserBit) != 0;
    lastStatusByte_ = buffer[kStatusOffset];
    if (!flipped) {
        ProcessReport(buffer, length);
    } else {
        // The pen was turned over (or entered or left with the eraser): the client sees it leave and,
        // 250 ms later, come back with the other end. Each pass starts from the report as received.
        buffer[kStatusOffset] &= static_cast<uint8_t>(~kButtonsMask);
        uint8_t pass[kReportBufferSize];
        std::memcpy(pass, buffer, sizeof pass);
        ProcessReport(pass, length);
        lock.unlock();
        port_.Sleep(kFlipLeaveMs);
        lock.lock();
        uint8_t outOfRange[kReportBufferSize] = {};
        ProcessReport(outOfRange, length);
        lock.unlock();
        port_.Sleep(kFlipReturnMs);
        lock.lock();
        std::memcpy(pass, buffer, sizeof pass);
        ProcessReport(pass, length);
    }
    quiet_ = false;
}

void PenPipeline::ProcessReport(uint8_t* record, size_t length) {
    DecodeReport(record, length);
    const uint8_t p = Buttons(previousRecord_[kStatusOffset]);
    if (record[kStatusOffset] == 0) {
        pointer_.ReleaseOnLeave(p, lastSent_, port_);
        const pz::ControlPanelBlock* settings = settings_.load();
        packets_.OutOfRange(context_.load(), record, previousRecord_[kStatusOffset] == 0, packetClock_,
                            Environment(settings, quiet_));
        std::memcpy(previousRecord_, record, kReportRecordSize);
        return;
    }
    ProcessInRange(record, p);
}

void PenPipeline::ProcessInRange(uint8_t* record, uint8_t p) {
    const bool penWasOut = previousRecord_[kStatusOffset] == 0;
    // The first report in range never presses a button.
    if (penWasOut) record[kStatusOffset] &= static_cast<uint8_t>(~kButtonsMask);
    record[kStatusOffset] = NormaliseStatus(record[kStatusOffset]);
    const uint8_t b = Buttons(record[kStatusOffset]);

    const pz::ControlPanelBlock* settings = settings_.load();
    PostPenPosition(settings, record, p);

    uint16_t x = GetU16(record, kXOffset), y = GetU16(record, kYOffset);
    Smooth(x, y, b, p);
    SetU16(record, kXOffset, x);
    SetU16(record, kYOffset, y);
    if (x == lastSent_.x && y == lastSent_.y && b == lastSent_.buttons) return;

    lastSent_ = {b, x, y};
    AdvancePacketClock();
    pz::WintabContextBlock* context = context_.load();
    const bool moveSystemCursor = context == nullptr || (context->Context.lcOptions & wintab::CXO_SYSTEM) != 0;
    ActiveArea area;
    if (pointer_.MapAndInject(ReadArea(settings, area), x, y, b, p, moveSystemCursor, lastSent_, port_))
        packets_.InRange(context, record, penWasOut, x, y, packetClock_, Environment(settings, quiet_));
    std::memcpy(previousRecord_, record, kReportRecordSize);
}

void PenPipeline::PostPenPosition(const pz::ControlPanelBlock* settings, const uint8_t* record, uint8_t p) {
    if (settings == nullptr) return;
    const uint32_t window = settings->Record.PositionWindow;
    if (window == 0) return;
    const uint32_t wParam = (uint32_t{p} << 16) | Buttons(record[kStatusOffset]);
    const uint32_t lParam = (uint32_t{GetU16(record, kYOffset)} << 16) | GetU16(record, kXOffset);
    port_.Post(PostTarget::PositionWindow, window, pz::kMsgPenPosition, wParam, lParam);
}

// The filter restarts when the tip goes down, after the tip comes up, and after the first sample of a
// side-button press; a held side button smooths in mode 3.
void PenPipeline::Smooth(uint16_t& x, uint16_t& y, uint8_t b, uint8_t p) {
    if (b == kTipButton) {
        if (p != kTipButton) filter_.Reset();
        filter_.Step(x, y, 1);
    } else if (b == 0) {
        filter_.Step(x, y, 1);
        if (p == kTipButton) filter_.Reset();
    } else if (p == 0 || p == kTipButton) {
        filter_.Step(x, y, 1);
        filter_.Reset();
    } else {
        filter_.Step(x, y, 3);
    }
}

void PenPipeline::AdvancePacketClock() {
    // Whole milliseconds since the last sample; the fraction is dropped at every step.
    const int64_t ticks = static_cast<int64_t>(port_.PerformanceCounter() - lastCounter_);
    const double elapsed = static_cast<double>(ticks) * 1000 / static_cast<double>(counterFrequency_);
    if (elapsed > 0) packetClock_ += static_cast<uint32_t>(static_cast<uint64_t>(elapsed));
    lastCounter_ = port_.PerformanceCounter();
}

bool PenPipeline::WatchdogCheck() {
    std::lock_guard<std::mutex> lock(penStateLock_);
    const int32_t silence = static_cast<int32_t>(port_.TickCount() - lastReportTick_);
    if (std::abs(silence) <= static_cast<int32_t>(kWatchdogSilenceMs) || quiet_) return false;
    DeclarePenGone();
    return true;
}

void PenPipeline::OnTabletLost() {
    std::lock_guard<std::mutex> lock(penStateLock_);
    // Only the system's buttons: the Wintab client keeps its queue and hears of the pen when the tablet
    // reports again (or the watchdog declares it gone).
    const uint8_t buttons = Buttons(previousRecord_[kStatusOffset]);
    if (buttons == kTipButton) port_.SystemMouseEvent(kWatchdogLeftUp, 0, 0);
    if (buttons == kSideButton) port_.SystemMouseEvent(kRightUpAfterLoss, 0, 0);
    previousRecord_[kStatusOffset] &= static_cast<uint8_t>(~kButtonsMask);
}

void PenPipeline::DeclarePenGone() {
    quiet_ = true;
    pz::WintabContextBlock* context = context_.load();
    if (context != nullptr) {
        context->QueueLength = 0;
        AnnounceProximity(port_, *context, kProximityLeave);
    }
    if (Buttons(previousRecord_[kStatusOffset]) == kTipButton) {
        port_.SystemMouseEvent(kWatchdogLeftUp, 0, 0);
        uint8_t lifted[kReportRecordSize];
        std::memcpy(lifted, previousRecord_, sizeof lifted);
        lifted[kStatusOffset] &= static_cast<uint8_t>(~kButtonsMask);
        SetU16(lifted, kPressureOffset, 0);
        // The lift belongs to the stroke that just ended: no new proximity announcement before it.
        if (context != nullptr)
            packets_.BuildPacket(context, lastSent_.x, lastSent_.y, 0, lifted, packetClock_ + kWatchdogSilenceMs,
                                 Environment(settings_.load(), false));
        previousRecord_[kStatusOffset] &= static_cast<uint8_t>(~kButtonsMask);
    }
}

}  // namespace ktpen
