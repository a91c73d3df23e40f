// The tablet service over simulated devices: ktpen-sim.exe runs in process on this desktop, simhid.exe
// plays the tablets, and a low-level mouse hook sees the pointer events the service injects.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "sim_tablet_harness.h"

namespace {

using simtest::Child;
using simtest::DeviceSpec;
using simtest::MouseRecord;
using simtest::Report8;

constexpr unsigned kTip = 0x91;
constexpr unsigned kHover = 0x90;
constexpr unsigned kSide = 0x92;
constexpr unsigned kOwnLeaveProduct = 0x8201;     // 8 and 10 bytes, sends its own leave report
constexpr unsigned kSilentLeaveProduct = 0x8001;  // 8 bytes, pressure 511, the watchdog detects leaving

bool Near(const POINT& a, const POINT& b) {
    return std::abs(a.x - b.x) <= 6 && std::abs(a.y - b.y) <= 6;
}

std::string Repeat(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line;
    return text;
}

// Hover that moves on every report, so that each report leaves a pointer event behind.
std::string Glide(unsigned status, unsigned x, unsigned y, int count, unsigned pressure = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Report8(status, x + 40 * i, y, pressure);
    return text;
}

class TabletSim : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::EnsureSettingsFile();
        SetCursorPos(1, 1);  // a move onto the pointer's own position may reach no hook
    }

    void AddDevice(const DeviceSpec& spec, const std::string& script) {
        devices_.emplace_back(simtest::StartDevice(spec, script));
        ASSERT_TRUE(devices_.back()->Started());
    }
    void StartService() {
        service_ = std::make_unique<Child>("\"" + simtest::ProgramPath("ktpen-sim.exe") + "\" -d");
        ASSERT_TRUE(service_->Started());
    }
    // Waits until device `n` has played its script.
    void WaitForDevice(size_t n, DWORD timeoutMs = 20000) {
        ASSERT_EQ(devices_[n]->Wait(timeoutMs), 0u) << "device " << n << " did not finish its script";
        Sleep(200);  // the last events reach the hook
    }
    bool AnyInjectedNear(const POINT& point) const {
        for (const MouseRecord& record : recorder_.Records())
            if (record.injected && Near(record.point, point)) return true;
        return false;
    }
    POINT LastInjectedPoint() const {
        POINT last{-1, -1};
        for (const MouseRecord& record : recorder_.Records())
            if (record.injected) last = record.point;
        return last;
    }

    simtest::MouseRecorder recorder_;
    std::vector<std::unique_ptr<Child>> devices_;
    std::unique_ptr<Child> service_;
};

TEST_F(TabletSim, StrokeMovesThePointerAndPressesAndReleasesTheLeftButtonOnce) {
    DeviceSpec tablet;
    tablet.productId = kOwnLeaveProduct;
    AddDevice(tablet, Glide(kHover, 3000, 3000, 4) + Glide(kTip, 3160, 3000, 6, 300) +
                          Repeat(Report8(kTip, 5103, 3711, 300), 10) + Repeat(Report8(kHover, 5103, 3711, 0), 3) +
                          Report8(0, 0, 0, 0));
    StartService();
    WaitForDevice(0);

    const auto downs = recorder_.Injected(WM_LBUTTONDOWN);
    const auto ups = recorder_.Injected(WM_LBUTTONUP);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_LE(downs[0].tick, ups[0].tick);
    EXPECT_GE(recorder_.Injected(WM_MOUSEMOVE).size(), 5u);
    EXPECT_TRUE(recorder_.Injected(WM_RBUTTONDOWN).empty());
    const POINT expected = simtest::ExpectedPoint(5103, 3711);
    EXPECT_TRUE(Near(ups[0].point, expected)) << ups[0].point.x << "," << ups[0].point.y;
}

TEST_F(TabletSim, SideButtonPressesAndReleasesTheRightButtonWithoutMoving) {
    DeviceSpec tablet;
    tablet.productId = kOwnLeaveProduct;
    AddDevice(tablet, Glide(kHover, 6000, 2000, 4) + Repeat(Report8(kSide, 6120, 2000, 0), 3) +
                          Repeat(Report8(kHover, 6120, 2000, 0), 3) + Report8(0, 0, 0, 0));
    StartService();
    WaitForDevice(0);

    const auto downs = recorder_.Injected(WM_RBUTTONDOWN);
    const auto ups = recorder_.Injected(WM_RBUTTONUP);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_LE(downs[0].tick, ups[0].tick);
    EXPECT_TRUE(recorder_.Injected(WM_LBUTTONDOWN).empty());
    // The press carries no coordinates: the pointer stays where the last move left it.
    POINT beforePress{-1, -1};
    for (const MouseRecord& record : recorder_.Records()) {
        if (record.message == WM_RBUTTONDOWN) break;
        if (record.injected) beforePress = record.point;
    }
    EXPECT_EQ(downs[0].point.x, beforePress.x);
    EXPECT_EQ(downs[0].point.y, beforePress.y);
}

TEST_F(TabletSim, UnplugMidStrokeReleasesTheButtonAndTheTabletIsFoundAgainAfterThePause) {
    DeviceSpec tablet;
    tablet.productId = kOwnLeaveProduct;
    AddDevice(tablet, Glide(kHover, 2000, 2000, 3) + Glide(kTip, 2120, 2000, 4, 300) + "unplug\nwait 50\nplug\n" +
                          Glide(kHover, 7000, 5000, 6) + Repeat(Report8(kHover, 7200, 5000, 0), 6) +
                          Report8(0, 0, 0, 0));
    StartService();
    WaitForDevice(0, 30000);

    ASSERT_EQ(recorder_.Injected(WM_LBUTTONDOWN).size(), 1u);
    const DWORD pressed = recorder_.Injected(WM_LBUTTONDOWN)[0].tick;
    // The held button is released as soon as the tablet is gone, not when it comes back.
    const auto ups = recorder_.Injected(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_LT(ups[0].tick - pressed, 2000u);
    // The tablet is found again after the pause, and the pointer follows the hovering pen.
    DWORD firstMoveAfterReturn = 0;
    for (const MouseRecord& record : recorder_.Injected(WM_MOUSEMOVE))
        if (firstMoveAfterReturn == 0 && record.tick > ups[0].tick) firstMoveAfterReturn = record.tick;
    EXPECT_GE(firstMoveAfterReturn - ups[0].tick, 5000u);
    EXPECT_TRUE(Near(LastInjectedPoint(), simtest::ExpectedPoint(7200, 5000)))
        << LastInjectedPoint().x << "," << LastInjectedPoint().y;
}

struct DiscoveryCase {
    const char* name;
    DeviceSpec ignored;
    DeviceSpec chosen;
    bool tenByteChosen;
};

class Discovery : public TabletSim, public ::testing::WithParamInterface<DiscoveryCase> {};

std::string Report10(unsigned status, unsigned x, unsigned y) {
    char line[64];
    std::snprintf(line, sizeof line, "02 %02x %02x %02x %02x %02x 00 20 40 00\n", status, x >> 8, x & 0xFF, y >> 8,
                  y & 0xFF);
    return line;
}

TEST_P(Discovery, OpensOnlyTheRightCollection) {
    const DiscoveryCase& c = GetParam();
    std::string ignoredScript;
    for (int i = 0; i < 4; ++i)
        ignoredScript += c.ignored.reportLength == 9 ? "02 90 d0 07 d0 07 00 00 00\n" : Report8(kHover, 2000, 2000, 0);
    AddDevice(c.ignored, ignoredScript);
    std::string chosenScript;
    for (int i = 0; i < 6; ++i)
        chosenScript += c.tenByteChosen ? Report10(kHover, 8000, 6000) : Report8(kHover, 8000, 6000, 0);
    AddDevice(c.chosen, chosenScript + "wait 100\n");
    StartService();
    WaitForDevice(1);

    EXPECT_TRUE(Near(LastInjectedPoint(), simtest::ExpectedPoint(8000, 6000)))
        << LastInjectedPoint().x << "," << LastInjectedPoint().y;
    EXPECT_FALSE(AnyInjectedNear(simtest::ExpectedPoint(2000, 2000)));
}

DeviceSpec Device(unsigned index, unsigned productId, unsigned reportLength, unsigned usagePage = 0xFF00,
                  unsigned usage = 1) {
    DeviceSpec spec;
    spec.index = index;
    spec.productId = productId;
    spec.reportLength = reportLength;
    spec.usagePage = usagePage;
    spec.usage = usage;
    return spec;
}

INSTANTIATE_TEST_SUITE_P(Rules, Discovery,
                         ::testing::Values(DiscoveryCase{"MouseCollectionSkipped", Device(0, kOwnLeaveProduct, 8, 1, 2),
                                                         Device(1, kOwnLeaveProduct, 8), false},
                                           DiscoveryCase{"ReportLengthPicksTheRow", Device(0, kOwnLeaveProduct, 9),
                                                         Device(1, kOwnLeaveProduct, 10), true},
                                           DiscoveryCase{"LowerIndexWins", Device(5, kOwnLeaveProduct, 8),
                                                         Device(2, kOwnLeaveProduct, 8), false}),
                         [](const ::testing::TestParamInfo<DiscoveryCase>& info) {
                             return std::string(info.param.name);
                         });

// Tip held, then silence while the device stays plugged: only a tablet without its own leave report
// gets the watchdog, which releases the button once, 400 to 600 ms after the last report.
TEST_F(TabletSim, WatchdogReleasesAHeldTipOnceAfterTheSilence) {
    DeviceSpec tablet;
    tablet.productId = kSilentLeaveProduct;
    tablet.holdMs = 1800;
    AddDevice(tablet, Glide(kHover, 3000, 3000, 3) + Glide(kTip, 3120, 3000, 6, 200));
    StartService();
    WaitForDevice(0);

    const auto ups = recorder_.Injected(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    DWORD lastReport = 0;
    for (const MouseRecord& record : recorder_.Records())
        if (record.injected && record.message != WM_LBUTTONUP) lastReport = record.tick;
    EXPECT_GE(ups[0].tick - lastReport, 390u);
    EXPECT_LE(ups[0].tick - lastReport, 700u);
}

TEST_F(TabletSim, TabletWithItsOwnLeaveReportStartsNoWatchdog) {
    DeviceSpec tablet;
    tablet.productId = kOwnLeaveProduct;
    tablet.holdMs = 1500;
    AddDevice(tablet, Glide(kHover, 3000, 3000, 3) + Glide(kTip, 3120, 3000, 6, 200));
    StartService();
    WaitForDevice(0);

    // The tip stays down through the 1.5 s of silence; only the unplug at the end releases it.
    const auto downs = recorder_.Injected(WM_LBUTTONDOWN);
    const auto ups = recorder_.Injected(WM_LBUTTONUP);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_GE(ups[0].tick - downs[0].tick, 1400u);
}

}  // namespace

namespace {

DWORD QueryState(SC_HANDLE service) {
    SERVICE_STATUS status{};
    return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

bool WaitForState(SC_HANDLE service, DWORD state, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (QueryState(service) != state) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// Through the service manager: the tablet is open and the reader waits in a read when the stop comes.
TEST_F(TabletSim, StopWhileAReadIsOutstandingReachesStopped) {
    DeviceSpec tablet;
    tablet.productId = kSilentLeaveProduct;  // the watchdog runs too and must end as well
    AddDevice(tablet, Report8(kHover, 3000, 3000, 0) + "wait 20000\n");

    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(manager, nullptr);
    const std::string path = simtest::ProgramPath("ktpen-sim.exe");
    SC_HANDLE service = CreateServiceA(manager, "PzSuperPowerTablet", "PzSuperPowerTablet", SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(service, nullptr) << "the service is installed already";
    ASSERT_TRUE(::StartServiceA(service, 0, nullptr));
    EXPECT_TRUE(WaitForState(service, SERVICE_RUNNING, 5000));
    Sleep(1500);  // discovery opens the tablet at once; its first report is read, the next read waits
    EXPECT_EQ(QueryState(service), static_cast<DWORD>(SERVICE_RUNNING));

    SERVICE_STATUS status{};
    EXPECT_TRUE(ControlService(service, SERVICE_CONTROL_STOP, &status));
    EXPECT_TRUE(WaitForState(service, SERVICE_STOPPED, 3000)) << "state " << QueryState(service);
    EXPECT_TRUE(DeleteService(service));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

}  // namespace
