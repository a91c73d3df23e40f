// Fault injection against the tablet service under Wine: tablets unplugged in the middle of a stroke,
// stops while a read is outstanding, and Wintab clients killed without closing. Each case runs a few
// times in the everyday test run and its full count under `make soak` (PZ_SOAK=full).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "object_names.h"
#include "process_footprint.h"
#include "raw_wintab_client.h"
#include "records.h"
#include "sim_tablet_harness.h"
#include "soak_count.h"
#include "wintab_types.h"

namespace {

using rawwintab::MessageWindow;
using rawwintab::PumpUntil;
using rawwintab::RawClient;
using simtest::Child;
using simtest::DeviceSpec;
using simtest::MouseRecord;
using simtest::Report8;

constexpr unsigned kHover = 0x90;
constexpr unsigned kTip = 0x91;
constexpr unsigned kOwnLeaveProduct = 0x8201;     // no watchdog: only the tablet's return releases the tip
constexpr unsigned kSilentLeaveProduct = 0x8001;  // with the watchdog thread
// The 6000 ms pause after a lost tablet, and the search that follows it.
constexpr DWORD kFoundAgainBudgetMs = 6500;
constexpr DWORD kStopBudgetMs = 5000;

// Reports that move 40 units each, so that every one leaves a pointer event or a packet behind.
std::string Glide(unsigned status, unsigned x, unsigned y, int count, unsigned pressure = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Report8(status, x + 40 * i, y, pressure);
    return text;
}

std::string ServiceCommand() {
    return "\"" + simtest::ProgramPath("ktpen-sim.exe") + "\" -d";
}

Child* StartTablet(unsigned productId, const std::string& script) {
    DeviceSpec tablet;
    tablet.productId = productId;
    return simtest::StartDevice(tablet, script);
}

// Each cycle strokes at a place of its own, so that the tablet's return shows as a move somewhere new.
unsigned CycleX(int cycle) {
    return 1500 + (cycle % 6) * 1200;
}
unsigned CycleY(int cycle) {
    return 1500 + (cycle % 4) * 1300;
}

std::vector<MouseRecord> InjectedRecords(const simtest::MouseRecorder& recorder) {
    std::vector<MouseRecord> injected;
    for (const MouseRecord& record : recorder.Records())
        if (record.injected) injected.push_back(record);
    return injected;
}

class FaultSoak : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::EnsureSettingsFile();
        SetCursorPos(1, 1);  // a move onto the pointer's own position may reach no hook
    }

    simtest::MouseRecorder recorder_;
};

// Every cycle hovers, presses the tip, moves and is unplugged with the tip down; the next cycle's tablet
// is plugged at once and waits for the service's next search. Cycle 0 creates what the first open keeps
// for good; the service's threads and handles after its loss are the baseline.
TEST_F(FaultSoak, UnplugsMidStrokeReleaseTheButtonAndLeaveNoThreadOrHandleBehind) {
    const int cycles = soak::Repetitions(3, 100);
    auto script = [](int cycle, bool stroke) {
        const std::string hover = Glide(kHover, CycleX(cycle), CycleY(cycle), 3);
        // The script's end unplugs the tablet, here with the tip still down.
        return stroke ? hover + Glide(kTip, CycleX(cycle) + 120, CycleY(cycle), 4, 300) : hover + Report8(0, 0, 0, 0);
    };
    std::unique_ptr<Child> device(StartTablet(kOwnLeaveProduct, script(0, true)));
    ASSERT_TRUE(simtest::WaitUntilPlugged(0, 10000));
    Child service(ServiceCommand());
    const DWORD serviceId = rawwintab::WaitForServer(10000);
    ASSERT_NE(serviceId, 0u) << "the service did not start";
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, serviceId);
    ASSERT_NE(process, nullptr);
    simtest::Footprint base, after;
    size_t seen = 0;
    DWORD lastEvent = 0, slowest = 0;
    // Cycles 0..cycles stroke; one more brings the pen back hovering to release the last press.
    for (int cycle = 0; cycle <= cycles + 1; ++cycle) {
        ASSERT_EQ(device->Wait(20000), 0u) << "cycle " << cycle << ": the tablet was not read to its end";
        if (cycle <= cycles) device.reset(StartTablet(kOwnLeaveProduct, script(cycle + 1, cycle + 1 <= cycles)));
        Sleep(200);  // the last events reach the hook

        const std::vector<MouseRecord> injected = InjectedRecords(recorder_);
        ASSERT_GT(injected.size(), seen) << "cycle " << cycle << " injected nothing";
        if (cycle > 0) {
            const DWORD foundAgain = injected[seen].tick - lastEvent;
            slowest = std::max(slowest, foundAgain);
            EXPECT_LE(foundAgain, kFoundAgainBudgetMs) << "cycle " << cycle;
        }
        seen = injected.size();
        lastEvent = injected.back().tick;
        // Each press so far has its release: the unplug released the one it interrupted.
        const size_t presses = recorder_.Injected(WM_LBUTTONDOWN).size();
        const size_t expectedPresses = static_cast<size_t>(std::min(cycle, cycles) + 1);
        ASSERT_EQ(presses, expectedPresses) << "cycle " << cycle;
        for (int i = 0; i < 40 && recorder_.Injected(WM_LBUTTONUP).size() < presses; ++i) Sleep(50);
        ASSERT_EQ(recorder_.Injected(WM_LBUTTONUP).size(), presses) << "cycle " << cycle;

        // The service is between a loss and its next search: the reader has ended and been joined.
        if (cycle == 0) base = simtest::SettledFootprint(process, serviceId, 4000);
        if (cycle == cycles) after = simtest::SettledFootprint(process, serviceId, 4000);
    }
    EXPECT_EQ(service.Wait(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(after.threads, base.threads);
    EXPECT_EQ(after.handles, base.handles);
    std::printf(
        "unplug soak: %d unplugs with the tip down, found again after at most %lu ms; "
        "threads %lu -> %lu, handles %lu -> %lu\n",
        cycles, static_cast<unsigned long>(slowest), static_cast<unsigned long>(base.threads),
        static_cast<unsigned long>(after.threads), static_cast<unsigned long>(base.handles),
        static_cast<unsigned long>(after.handles));
    CloseHandle(process);
}

DWORD QueryState(SC_HANDLE service, DWORD* processId = nullptr) {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                              &needed))
        return 0;
    if (processId != nullptr) *processId = status.dwProcessId;
    return status.dwCurrentState;
}

bool WaitForState(SC_HANDLE service, DWORD state, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (QueryState(service) != state) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

// Installed for the life of the object through the service manager, so that stops take the real way.
class InstalledService {
  public:
    InstalledService() {
        manager_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (manager_ == nullptr) return;
        const std::string path = simtest::ProgramPath("ktpen-sim.exe");
        service_ = CreateServiceA(manager_, "PzSuperPowerTablet", "PzSuperPowerTablet", SERVICE_ALL_ACCESS,
                                  SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path.c_str(),
                                  nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    ~InstalledService() {
        if (service_ != nullptr) {
            SERVICE_STATUS status{};
            ControlService(service_, SERVICE_CONTROL_STOP, &status);
            WaitForState(service_, SERVICE_STOPPED, kStopBudgetMs);
            DeleteService(service_);
            CloseServiceHandle(service_);
        }
        if (manager_ != nullptr) CloseServiceHandle(manager_);
    }
    InstalledService(const InstalledService&) = delete;
    InstalledService& operator=(const InstalledService&) = delete;
    SC_HANDLE Handle() const { return service_; }

  private:
    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
};

// The ready event exists from the first open of a tablet until the service ends. A service started by
// the service manager injects its pointer events on a desktop of its own, where no hook of ours sees them.
bool TabletOpened(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, pz::kWintabReadyEventName)) {
            CloseHandle(ready);
            return true;
        }
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

// Each start opens a tablet whose first report is read at once; the reader then waits in its next read
// when the stop request comes. Every other tablet has no leave report of its own, so a watchdog runs too.
TEST_F(FaultSoak, StopsWhileAReadIsOutstandingAllReachStopped) {
    const int stops = soak::Repetitions(3, 50);
    InstalledService installed;
    SC_HANDLE service = installed.Handle();
    ASSERT_NE(service, nullptr) << "the service cannot be installed, or is installed already";
    DWORD slowest = 0;
    for (int i = 0; i < stops; ++i) {
        SetCursorPos(1, 1);
        const unsigned product = i % 2 == 0 ? kOwnLeaveProduct : kSilentLeaveProduct;
        std::unique_ptr<Child> device(StartTablet(product, Report8(kHover, CycleX(i), CycleY(i), 0) + "wait 600000\n"));
        ASSERT_TRUE(simtest::WaitUntilPlugged(0, 10000)) << "start " << i << ": the tablet was not plugged";
        ASSERT_TRUE(::StartServiceA(service, 0, nullptr)) << "start " << i;
        ASSERT_TRUE(WaitForState(service, SERVICE_RUNNING, 5000)) << "start " << i;
        ASSERT_TRUE(TabletOpened(5000)) << "start " << i << ": the tablet was not opened";
        Sleep(300);  // its first report is read and the reader waits in the next read

        DWORD processId = 0;
        QueryState(service, &processId);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        const DWORD start = GetTickCount();
        SERVICE_STATUS status{};
        EXPECT_TRUE(ControlService(service, SERVICE_CONTROL_STOP, &status)) << "stop " << i;
        ASSERT_TRUE(WaitForState(service, SERVICE_STOPPED, kStopBudgetMs))
            << "stop " << i << " ended in state " << QueryState(service);
        slowest = std::max(slowest, GetTickCount() - start);
        if (process != nullptr) {
            EXPECT_EQ(WaitForSingleObject(process, kStopBudgetMs), WAIT_OBJECT_0) << "stop " << i << ": still running";
            CloseHandle(process);
        }
    }
    std::printf("stop soak: %d stops with a read outstanding, SERVICE_STOPPED after at most %lu ms\n", stops,
                static_cast<unsigned long>(slowest));
}

// A hover that moves every 20 ms for `durationMs`, back and forth across the tablet.
std::string LongHover(DWORD durationMs) {
    std::string text;
    for (DWORD t = 0, i = 0; t < durationMs; t += 20, ++i) {
        const unsigned step = i % 200;
        const unsigned x = 2000 + 30 * (step < 100 ? step : 200 - step);
        text += "+20 " + Report8(kHover, x, 3000, 0);
    }
    return text;
}

// A client in a process of its own connects, becomes current and is killed; the client that stays must
// become current again and receive packets, and a client that connects after all of them is served.
TEST_F(FaultSoak, WintabClientsKilledWithoutClosingLeaveTheOthersServed) {
    const int kills = soak::Repetitions(3, 20);
    std::unique_ptr<Child> device(StartTablet(kOwnLeaveProduct, LongHover(kills * 6000 + 20000)));
    ASSERT_TRUE(simtest::WaitUntilPlugged(0, 10000));
    Child service(ServiceCommand());
    const DWORD serviceId = rawwintab::WaitForServer(10000);
    ASSERT_NE(serviceId, 0u) << "the service did not start";
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, serviceId);
    ASSERT_NE(process, nullptr);

    MessageWindow window;
    RawClient keeper;
    ASSERT_TRUE(keeper.Connect());
    keeper.Block()->ClientWindow = window.Value();
    keeper.Block()->Context.lcOptions |= wintab::CXO_MESSAGES;
    keeper.Command(pz::kCommandEnable);
    const pz::WintabContextBlock& block = *keeper.Block();
    auto packetsArrive = [&](const char* when) {
        const uint32_t serial = block.PacketSerial;
        const size_t messages = window.Received(wintab::WT_PACKET).size();
        EXPECT_TRUE(PumpUntil(
            [&] {
                return block.PacketSerial >= serial + 5 && window.Received(wintab::WT_PACKET).size() >= messages + 5;
            },
            5000))
            << when;
    };
    packetsArrive("before the first kill");
    const simtest::Footprint base = simtest::SettledFootprint(process, serviceId);

    const std::string readyName = "PzSoakClientReady" + std::to_string(GetCurrentProcessId());
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    for (int i = 0; i < kills; ++i) {
        ResetEvent(ready);
        {
            Child child("\"" + simtest::ProgramPath("wintab_client_child.exe") + "\" " + readyName);
            ASSERT_TRUE(child.Started());
            ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0) << "client " << i << " did not connect";
        }  // killed without closing
        packetsArrive(("after kill " + std::to_string(i)).c_str());
        EXPECT_EQ(block.Enabled, 1u);
    }
    EXPECT_TRUE(PumpUntil([&] { return simtest::ThreadCount(serviceId) == base.threads; }, 5000));
    const simtest::Footprint after = simtest::SettledFootprint(process, serviceId);
    EXPECT_EQ(after.threads, base.threads);
    EXPECT_EQ(after.handles, base.handles);

    MessageWindow newcomerWindow;
    RawClient newcomer;
    ASSERT_TRUE(newcomer.Connect()) << "no connection after the kills";
    newcomer.Block()->ClientWindow = newcomerWindow.Value();
    newcomer.Command(pz::kCommandEnable);
    const uint32_t serial = newcomer.Block()->PacketSerial;
    EXPECT_TRUE(PumpUntil([&] { return newcomer.Block()->PacketSerial >= serial + 5; }, 5000))
        << "the new client gets no packets";
    EXPECT_EQ(service.Wait(0), static_cast<DWORD>(STILL_ACTIVE));
    std::printf("client soak: %d clients killed without closing; threads %lu -> %lu, handles %lu -> %lu\n", kills,
                static_cast<unsigned long>(base.threads), static_cast<unsigned long>(after.threads),
                static_cast<unsigned long>(base.handles), static_cast<unsigned long>(after.handles));
    newcomer.Close();
    keeper.Close();
    CloseHandle(ready);
    CloseHandle(process);
}

}  // namespace
