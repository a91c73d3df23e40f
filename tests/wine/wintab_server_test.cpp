// The service's Wintab connection server under Wine, spoken to by a raw client written from the
// connection contract: connection numbers, the client table, the commands, the packets the simulated
// tablet produces, and what is left behind when clients go.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "process_footprint.h"
#include "raw_wintab_client.h"
#include "sim_tablet_harness.h"

namespace {

using rawwintab::MessageWindow;
using rawwintab::PumpUntil;
using rawwintab::RawClient;
using simtest::Child;
using simtest::DeviceSpec;
using simtest::Report8;

constexpr unsigned kTip = 0x91;
constexpr unsigned kHover = 0x90;
constexpr unsigned kEraserHover = 0xB0;
constexpr unsigned kEraserDown = 0xB1;
constexpr unsigned kOwnLeaveProduct = 0x8201;
constexpr DWORD kCommandTimeoutMs = 3000;
// Scripts start with this pause, in which the test connects its clients; it must finish well within.
constexpr DWORD kSetUpPauseMs = 2500;
constexpr DWORD kSetUpBudgetMs = 1500;

// Hover or a stroke that moves 40 units per report, so that every report makes a packet.
std::string Glide(unsigned status, unsigned x, unsigned y, int count, unsigned pressure = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Report8(status, x + 40 * i, y, pressure);
    return text;
}

std::string Pause(DWORD ms) {
    return "wait " + std::to_string(ms) + "\n";
}

const std::string kLeave = Report8(0, 0, 0, 0);

class WintabServer : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::EnsureSettingsFile();
        SetCursorPos(1, 1);
    }
    void TearDown() override {
        clients_.clear();  // before the service goes
    }

    void StartService() {
        service_ = std::make_unique<Child>("\"" + simtest::ProgramPath("ktpen-sim.exe") + "\" -d");
        ASSERT_TRUE(service_->Started());
        serviceId_ = rawwintab::WaitForServer(10000);
        ASSERT_NE(serviceId_, 0u) << "the service published no control block";
        setUpStart_ = GetTickCount();
    }
    // The tablet plays `script` after kSetUpPauseMs; the service starts after it and opens it at once.
    void StartServiceWithTablet(const std::string& script) {
        DeviceSpec tablet;
        tablet.productId = kOwnLeaveProduct;
        tablet.holdMs = 1000;
        device_.reset(simtest::StartDevice(tablet, Pause(kSetUpPauseMs) + script));
        ASSERT_TRUE(device_->Started());
        StartService();
    }
    void CheckSetUpInTime() const {
        ASSERT_LT(GetTickCount() - setUpStart_, kSetUpBudgetMs) << "the clients were not ready before the pen came";
    }
    void WaitForTablet() { ASSERT_EQ(device_->Wait(30000), 0u) << "the device did not finish its script"; }

    RawClient& Connect() {
        clients_.push_back(std::make_unique<RawClient>());
        EXPECT_TRUE(clients_.back()->Connect()) << "connection " << clients_.size();
        return *clients_.back();
    }
    // Sends a command and waits until its effect shows.
    void Command(RawClient& client, uint32_t code, const std::function<bool()>& done) {
        client.Command(code);
        ASSERT_TRUE(PumpUntil(done, kCommandTimeoutMs)) << "command " << code << " had no effect";
    }
    // Waits until the service stops adding packets to the block.
    static void WaitForQuietQueue(const pz::WintabContextBlock* block) {
        uint32_t serial = block->PacketSerial;
        for (int still = 0; still < 5;) {
            Sleep(100);
            still = block->PacketSerial == serial ? still + 1 : 0;
            serial = block->PacketSerial;
        }
    }

    simtest::MouseRecorder recorder_;
    std::unique_ptr<Child> device_;
    std::unique_ptr<Child> service_;
    std::vector<std::unique_ptr<RawClient>> clients_;
    DWORD serviceId_ = 0;
    DWORD setUpStart_ = 0;
};

TEST_F(WintabServer, RequestsWithoutATabletAreNumberedFrom1537AndNeverReuseANumber) {
    StartService();
    HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, "Global\\RmWintabConnectionReadyEvent");
    EXPECT_EQ(ready, nullptr) << "no tablet is open";
    if (ready != nullptr) CloseHandle(ready);

    RawClient& first = Connect();
    RawClient& second = Connect();
    ASSERT_NE(first.Block(), nullptr);
    ASSERT_NE(second.Block(), nullptr);
    EXPECT_EQ(first.Block()->ContextId, 1537u);
    EXPECT_EQ(second.Block()->ContextId, 1538u);
    const pz::WintabContextBlock& block = *first.Block();
    EXPECT_EQ(block.ClientWindow, 0u);
    EXPECT_EQ(block.Enabled, 0u);
    EXPECT_EQ(block.Context.lcOptions, 1u);
    EXPECT_EQ(block.Context.lcMsgBase, 0x7FF0u);
    EXPECT_EQ(block.Context.lcPktData, 0x5E0u);
    EXPECT_EQ(block.Context.lcOutExtX, 10206);
    EXPECT_EQ(block.Context.lcOutExtY, 7422);
    first.Close();
    EXPECT_EQ(Connect().Block()->ContextId, 1539u);
}

TEST_F(WintabServer, TheEleventhClientIsServedAndCurrentButNeverHandedOver) {
    StartService();
    for (int i = 0; i < 11; ++i) ASSERT_NE(Connect().Block(), nullptr);
    RawClient& eleventh = *clients_[10];
    EXPECT_EQ(eleventh.Block()->ContextId, 1547u);
    // A client that closes while another is current enables the current one: the eleventh.
    clients_[0]->Close();
    ASSERT_TRUE(PumpUntil([&] { return eleventh.Block()->Enabled == 1; }, kCommandTimeoutMs));

    RawClient& second = *clients_[1];
    Command(second, pz::kCommandEnable, [&] { return second.Block()->Enabled == 1; });
    const DWORD threads = simtest::ThreadCount(serviceId_);
    for (int i = 2; i < 10; ++i) clients_[i]->Close();
    ASSERT_TRUE(PumpUntil([&] { return simtest::ThreadCount(serviceId_) == threads - 8; }, kCommandTimeoutMs));
    // Only the eleventh is left besides the second, and it holds no slot: giving up leaves no one current.
    // The flag is cleared here so that a hand-over to the eleventh would show.
    eleventh.Block()->Enabled = 0;
    Command(second, pz::kCommandDisable, [&] { return second.Block()->Enabled == 0; });
    Sleep(300);
    EXPECT_EQ(eleventh.Block()->Enabled, 0u);
}

TEST_F(WintabServer, AFullQueueDropsTheOldestAndCommand48EmptiesItKeepingTheSerial) {
    StartServiceWithTablet(Glide(kHover, 1000, 3000, 90));
    RawClient& client = Connect();
    ASSERT_NE(client.Block(), nullptr);
    pz::WintabContextBlock* block = client.Block();
    Command(client, pz::kCommandEnable, [&] { return block->Enabled == 1; });
    CheckSetUpInTime();
    WaitForTablet();
    WaitForQuietQueue(block);

    const uint32_t serial = block->PacketSerial;
    ASSERT_GT(serial, 64u) << "too few packets to fill the queue";
    ASSERT_EQ(block->QueueLength, 64u);
    for (uint32_t i = 0; i < 64; ++i)
        EXPECT_EQ(block->PacketQueue[i].Packet.pkSerialNumber, serial - 64 + i) << "entry " << i;
    Command(client, pz::kCommandEmptyQueue, [&] { return block->QueueLength == 0; });
    EXPECT_EQ(block->PacketSerial, serial);
}

TEST_F(WintabServer, EraserPacketsCarryCursor2AndAltitudeMinus900WithCursorMessages) {
    StartServiceWithTablet(Glide(kEraserHover, 4000, 3000, 4) + Glide(kEraserDown, 4160, 3000, 6, 400));
    MessageWindow window;
    RawClient& client = Connect();
    ASSERT_NE(client.Block(), nullptr);
    pz::WintabContextBlock* block = client.Block();
    block->ClientWindow = window.Value();
    block->Context.lcOptions = wintab::CXO_SYSTEM | wintab::CXO_MESSAGES | wintab::CXO_CSRMESSAGES;
    Command(client, pz::kCommandEnable, [&] { return block->Enabled == 1; });
    CheckSetUpInTime();
    WaitForTablet();
    WaitForQuietQueue(block);

    ASSERT_GT(block->QueueLength, 0u);
    EXPECT_TRUE(block->PacketQueue[0].Packet.pkChanged & 0x20) << "the first eraser packet after the pen";
    bool pressed = false;
    for (uint32_t i = 0; i < block->QueueLength; ++i) {
        const wintab::PACKET& packet = block->PacketQueue[i].Packet;
        EXPECT_EQ(packet.pkCursor, 2u) << "entry " << i;
        EXPECT_EQ(packet.pkOrientation.orAltitude, -900) << "entry " << i;
        EXPECT_EQ(packet.pkContext, block->ContextId);
        pressed = pressed || (packet.pkButtons == 1 && packet.pkNormalPressure > 0);
    }
    EXPECT_TRUE(pressed);

    PumpUntil([] { return false; }, 200);
    const LPARAM id = static_cast<LPARAM>(block->ContextId);
    const auto cursorChanges = window.Received(wintab::WT_CSRCHANGE);
    ASSERT_FALSE(cursorChanges.empty());
    EXPECT_EQ(cursorChanges[0].wParam, 1u);
    EXPECT_EQ(cursorChanges[0].lParam, id);
    const auto proximity = window.Received(wintab::WT_PROXIMITY);
    ASSERT_FALSE(proximity.empty());
    EXPECT_EQ(proximity[0].wParam, static_cast<WPARAM>(id));
    EXPECT_EQ(proximity[0].lParam, 0x10001);
    const auto packets = window.Received(wintab::WT_PACKET);
    ASSERT_FALSE(packets.empty());
    EXPECT_EQ(packets.back().wParam, 1u);
    EXPECT_EQ(packets.back().lParam, id);
}

TEST_F(WintabServer, OptionsZeroPostNoPacketOrCursorMessagesAndHoldThePointerUntilTheOnlyClientGivesUp) {
    StartServiceWithTablet(Glide(kHover, 2000, 3000, 5) + Glide(kTip, 2200, 3000, 5, 300) + kLeave + Pause(3000) +
                           Glide(kHover, 6000, 4000, 8) + kLeave);
    MessageWindow window;
    RawClient& client = Connect();
    ASSERT_NE(client.Block(), nullptr);
    pz::WintabContextBlock* block = client.Block();
    block->ClientWindow = window.Value();
    block->Context.lcOptions = 0;
    Command(client, pz::kCommandEnable, [&] { return block->Enabled == 1; });
    CheckSetUpInTime();

    // First stroke: this context is current and enabled.
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (const auto& m : window.Received(wintab::WT_PROXIMITY))
                if (m.lParam == 0x10000) return true;
            return false;
        },
        15000))
        << "the pen never left";
    const uint32_t serial = block->PacketSerial;
    EXPECT_GT(serial, 5u);
    EXPECT_TRUE(window.Received(wintab::WT_PACKET).empty());
    EXPECT_TRUE(window.Received(wintab::WT_CSRCHANGE).empty());
    EXPECT_TRUE(recorder_.Injected(WM_MOUSEMOVE).empty());
    EXPECT_TRUE(recorder_.Injected(WM_LBUTTONDOWN).empty());

    // Second stroke: the only client gave up, so no context is current.
    Command(client, pz::kCommandDisable, [&] { return block->Enabled == 0; });
    WaitForTablet();
    Sleep(200);
    EXPECT_EQ(block->PacketSerial, serial);
    ASSERT_FALSE(recorder_.Injected(WM_MOUSEMOVE).empty());
    const POINT expected = simtest::ExpectedPoint(6000 + 40 * 7, 4000);
    const POINT last = recorder_.Injected(WM_MOUSEMOVE).back().point;
    EXPECT_LE(std::abs(last.x - expected.x), 6);
    EXPECT_LE(std::abs(last.y - expected.y), 6);
}

TEST_F(WintabServer, ClientsThatCloseOrAreKilledLeaveNoThreadOrHandleBehind) {
    StartService();
    HANDLE service = OpenProcess(PROCESS_DUP_HANDLE, FALSE, serviceId_);
    ASSERT_NE(service, nullptr);
    Connect().Close();  // from here on the control block always names one connection's handles
    const simtest::Footprint base = simtest::SettledFootprint(service, serviceId_);
    ASSERT_GT(base.handles, 0u);

    for (int i = 0; i < 3; ++i) Connect();
    EXPECT_EQ(simtest::SettledFootprint(service, serviceId_).threads, base.threads + 3);
    clients_.clear();
    EXPECT_TRUE(PumpUntil([&] { return simtest::ThreadCount(serviceId_) == base.threads; }, 5000));
    EXPECT_EQ(simtest::SettledFootprint(service, serviceId_).handles, base.handles);

    const std::string readyName = "PzWintabChildReady" + std::to_string(GetCurrentProcessId());
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    {
        Child child("\"" + simtest::ProgramPath("wintab_client_child.exe") + "\" " + readyName);
        ASSERT_TRUE(child.Started());
        ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0) << "the child did not connect";
        EXPECT_EQ(simtest::SettledFootprint(service, serviceId_).threads, base.threads + 1);
    }  // killed without closing
    EXPECT_TRUE(PumpUntil([&] { return simtest::ThreadCount(serviceId_) == base.threads; }, 5000));
    const simtest::Footprint after = simtest::SettledFootprint(service, serviceId_);
    EXPECT_EQ(after.threads, base.threads);
    EXPECT_EQ(after.handles, base.handles);
    CloseHandle(ready);
    CloseHandle(service);
}

DWORD ServiceState(SC_HANDLE service) {
    SERVICE_STATUS status{};
    return QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

bool WaitForServiceState(SC_HANDLE service, DWORD state, DWORD timeoutMs) {
    return PumpUntil([&] { return ServiceState(service) == state; }, timeoutMs);
}

// Through the service manager, so that the stop request takes the service's own way down: the service
// waits for the listener and every client thread before it releases their blocks.
TEST_F(WintabServer, StopWithClientsConnectedReachesStopped) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(manager, nullptr);
    const std::string path = simtest::ProgramPath("ktpen-sim.exe");
    SC_HANDLE service = CreateServiceA(manager, "PzSuperPowerTablet", "PzSuperPowerTablet", SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(service, nullptr) << "the service is installed already";
    EXPECT_TRUE(::StartServiceA(service, 0, nullptr));
    EXPECT_NE(rawwintab::WaitForServer(10000), 0u);
    RawClient& enabled = Connect();
    Connect();
    if (enabled.Block() != nullptr) Command(enabled, pz::kCommandEnable, [&] { return enabled.Block()->Enabled == 1; });

    SERVICE_STATUS status{};
    EXPECT_TRUE(ControlService(service, SERVICE_CONTROL_STOP, &status));
    EXPECT_TRUE(WaitForServiceState(service, SERVICE_STOPPED, 5000)) << "state " << ServiceState(service);
    EXPECT_TRUE(DeleteService(service));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

}  // namespace
