// The road of one pen report, from the reader's buffer to a pointer event and a Wintab packet, with the
// pen state it keeps between reports. One instance serves the open tablet; the reader thread calls
// OnReportReceived, the watchdog thread WatchdogCheck, the Wintab server SetCurrentContext.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "packet_builder.h"
#include "platform_port.h"
#include "pointer_injector.h"
#include "records.h"
#include "stroke_filter.h"

namespace ktpen {

struct TabletProperties {
    uint16_t reportLength = 8;        // 8 or 10
    uint16_t pressureMaximum = 1023;  // 511 or 1023
    bool ownLeaveReport = true;       // false: the watchdog detects the pen leaving
};

constexpr size_t kReportBufferSize = 16;  // the reader's buffer; the first 14 bytes are the report record

class PenPipeline {
  public:
    explicit PenPipeline(PlatformPort& port);

    // The settings block, or nullptr for the built-in defaults (whole tablet, linear pressure).
    void SetSettingsView(pz::ControlPanelBlock* view);
    // The Wintab context that receives packets, or nullptr. Safe to call from any thread; once it returns
    // no report is still writing into the previous context, so its block may be unmapped.
    void SetCurrentContext(pz::WintabContextBlock* context);
    // Empties a context's queue between two packets, so that a packet being queued cannot undo it.
    void EmptyQueue(pz::WintabContextBlock* context);
    pz::WintabContextBlock* CurrentContext() const;

    // A tablet was opened: its report format and pressure range steer decoding and smoothing.
    void OnTabletOpened(const TabletProperties& tablet);
    // The reader starts: the packet clock takes the tick count, the counter its current reading.
    void StartReading();
    // One complete report of the tablet's report length in a buffer of kReportBufferSize bytes:
    // records its time, turns a flip between tip and eraser into leave and return, processes it.
    void OnReportReceived(uint8_t* buffer, size_t length);
    // The watchdog's check after each 200 ms wait. Returns true when it declared the pen gone; the
    // caller then sleeps 500 ms before it waits again.
    bool WatchdogCheck();
    // The tablet was lost (unplugged, failed, or the service stops) with the pen perhaps still down:
    // releases a held tip or side button, once, with the system's mouse_event as the watchdog does.
    void OnTabletLost();

    void SetPacketObserver(PacketObserver* observer) { packets_.SetObserver(observer); }

  private:
    void ProcessReport(uint8_t* record, size_t length);
    void ProcessInRange(uint8_t* record, uint8_t previousButtons);
    void Smooth(uint16_t& x, uint16_t& y, uint8_t b, uint8_t p);
    void PostPenPosition(const pz::ControlPanelBlock* settings, const uint8_t* record, uint8_t p);
    void AdvancePacketClock();
    // Marks the pen gone: queue emptied and leave announced, a held tip released with its lift packet.
    void DeclarePenGone();
    PacketEnvironment Environment(const pz::ControlPanelBlock* settings, bool penDeclaredGone);

    PlatformPort& port_;
    std::mutex penStateLock_;  // reader and watchdog take turns on the pen state
    std::atomic<pz::ControlPanelBlock*> settings_{nullptr};
    std::atomic<pz::WintabContextBlock*> context_{nullptr};

    TabletProperties tablet_;
    CStrokeFilter filter_;
    PointerInjector pointer_;
    PacketBuilder packets_;

    uint8_t previousRecord_[14] = {};
    LastSentState lastSent_;
    uint8_t lastStatusByte_ = 0;
    uint32_t lastReportTick_ = 0;
    bool quiet_ = false;
    uint64_t counterFrequency_ = 1;
    uint64_t lastCounter_ = 0;
    uint32_t packetClock_ = 0;
};

}  // namespace ktpen
