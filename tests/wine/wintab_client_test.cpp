// Our Wintab32.dll as a drawing program uses it, over the service and a simulated tablet: the library is
// loaded by name the way drawing programs load it (beside the program, ahead of Wine's own), the device
// is queried, a context opened on a window, and the pen's strokes arrive as packets in the program's
// format with the pressure curve of the settings block applied to each one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "info_answers.h"
#include "raw_wintab_client.h"
#include "records.h"
#include "sim_tablet_harness.h"
#include "wintab_constants.h"
#include "wintab_library_check.h"

namespace {

using simtest::Child;
using simtest::Report8;
using namespace wt32;
typedef struct HCTX__* HCTX;

constexpr unsigned kTip = 0x91;
constexpr unsigned kHover = 0x90;
constexpr unsigned kEraserHover = 0xB0;
constexpr unsigned kEraserDown = 0xB1;
constexpr DWORD kSetUpPauseMs = 2500;
constexpr UINT kMsgBase = 0x6F00;  // a program's own message base
constexpr uint32_t kPacketData = wintab::PK_X | wintab::PK_Y | wintab::PK_NORMAL_PRESSURE | wintab::PK_BUTTONS |
                                 wintab::PK_CURSOR | wintab::PK_TIME | wintab::PK_ORIENTATION;

// The packet of kPacketData, as a drawing program declares it.
struct Packet {
    uint32_t time;
    uint32_t cursor;
    uint32_t buttons;
    int32_t x;
    int32_t y;
    uint32_t pressure;
    wintab::ORIENTATION orientation;
};
static_assert(sizeof(Packet) == 36, "nine fields");

// The library's functions, found by name as drawing programs find them.
struct Wintab {
    HMODULE module = LoadLibraryA("Wintab32.dll");
    template <typename F>
    F Find(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    UINT(WINAPI* Info)(UINT, UINT, LPVOID) = Find<decltype(Info)>("WTInfoA");
    HCTX(WINAPI* Open)(HWND, wintab::LOGCONTEXTA*, BOOL) = Find<decltype(Open)>("WTOpenA");
    BOOL(WINAPI* Close)(HCTX) = Find<decltype(Close)>("WTClose");
    int(WINAPI* PacketsGet)(HCTX, int, LPVOID) = Find<decltype(PacketsGet)>("WTPacketsGet");
    int(WINAPI* PacketsPeek)(HCTX, int, LPVOID) = Find<decltype(PacketsPeek)>("WTPacketsPeek");
    BOOL(WINAPI* PacketBySerial)(HCTX, UINT, LPVOID) = Find<decltype(PacketBySerial)>("WTPacket");
    BOOL(WINAPI* Enable)(HCTX, BOOL) = Find<decltype(Enable)>("WTEnable");
    BOOL(WINAPI* Overlap)(HCTX, BOOL) = Find<decltype(Overlap)>("WTOverlap");
    BOOL(WINAPI* QueueSizeSet)(HCTX, int) = Find<decltype(QueueSizeSet)>("WTQueueSizeSet");
    int(WINAPI* QueueSizeGet)(HCTX) = Find<decltype(QueueSizeGet)>("WTQueueSizeGet");
    BOOL(WINAPI* GetContext)(HCTX, wintab::LOGCONTEXTA*) = Find<decltype(GetContext)>("WTGetA");
};

// What the program's window saw: each WT_PACKET fetched at once by its serial number.
struct Received {
    std::vector<Packet> packets;
    std::vector<LPARAM> proximity;
    int foreignHandles = 0;  // messages naming another context
    int missed = 0;          // WT_PACKET whose serial WTPacket did not find
    HCTX context = nullptr;
    const Wintab* api = nullptr;
};
Received* g_received = nullptr;

LRESULT CALLBACK ProgramWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Received* r = g_received;
    if (r != nullptr && message == kMsgBase + kMsgPacket) {
        if (reinterpret_cast<HCTX>(lParam) != r->context) ++r->foreignHandles;
        Packet packet{};
        if (r->api->PacketBySerial(r->context, static_cast<UINT>(wParam), &packet))
            r->packets.push_back(packet);
        else
            ++r->missed;
        return 0;
    }
    if (r != nullptr && message == kMsgBase + kMsgProximity) {
        if (reinterpret_cast<HCTX>(wParam) != r->context) ++r->foreignHandles;
        r->proximity.push_back(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProgramWindow;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WintabClientTestWindow";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "canvas", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

std::string Glide(unsigned status, unsigned x, unsigned y, int count, unsigned pressure = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Report8(status, x + 40 * i, y, pressure + 20 * i);
    return text;
}
std::string Pause(DWORD ms) {
    return "wait " + std::to_string(ms) + "\n";
}

// The service's curve for level L over the scaled pressure of a 1023-level tablet.
uint32_t Curved(unsigned raw, unsigned level) {
    const int v = raw < 43 ? 0 : static_cast<int>((raw - 43) * 1024 / 981);
    if (level == 100) return v;
    const double a = (static_cast<double>(level) - 100) / 102300;
    return static_cast<uint32_t>(v * (1 - 1023 * a + a * v));
}

class WintabClient : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::EnsureSettingsFile();
        ASSERT_NE(api_.module, nullptr);
        window_ = MakeWindow();
        received_.api = &api_;
        g_received = &received_;
    }
    void TearDown() override {
        g_received = nullptr;
        if (received_.context != nullptr) api_.Close(received_.context);
        DestroyWindow(window_);
        if (settings_ != nullptr) UnmapViewOfFile(settings_);
    }

    void StartServiceWithTablet(const std::string& script) {
        simtest::DeviceSpec tablet;
        tablet.productId = 0x8201;
        tablet.holdMs = 1000;
        device_.reset(simtest::StartDevice(tablet, Pause(kSetUpPauseMs) + script));
        ASSERT_TRUE(device_->Started());
        service_ = std::make_unique<Child>("\"" + simtest::ProgramPath("ktpen-sim.exe") + "\" -d");
        ASSERT_TRUE(service_->Started());
        ASSERT_NE(rawwintab::WaitForServer(10000), 0u);
        HANDLE mapping =
            OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "Global\\TavorinControlPanelConnectionControlData");
        ASSERT_NE(mapping, nullptr);
        settings_ = static_cast<pz::ControlPanelBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        CloseHandle(mapping);
        ASSERT_NE(settings_, nullptr);
    }
    // A context as drawing programs open one: the default digitizing context, their packet fields.
    HCTX OpenContext(BOOL enable) {
        wintab::LOGCONTEXTA context{};
        EXPECT_EQ(api_.Info(WTI_DEFCONTEXT, 0, &context), sizeof context);
        context.lcOptions |= wintab::CXO_MESSAGES;
        context.lcPktData = kPacketData;
        context.lcPktMode = 0;
        context.lcMoveMask = kPacketData;
        context.lcMsgBase = kMsgBase;
        return api_.Open(window_, &context, enable);
    }
    bool Pump(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
        return rawwintab::PumpUntil(done, timeoutMs);
    }
    bool DeviceDone() const { return device_->Wait(0) == 0; }

    Wintab api_;
    HWND window_ = nullptr;
    Received received_;
    std::unique_ptr<Child> device_;
    std::unique_ptr<Child> service_;
    pz::ControlPanelBlock* settings_ = nullptr;
};

TEST_F(WintabClient, OurLibraryIsLoadedWithEveryStandardOrdinal) {
    char path[MAX_PATH];
    GetModuleFileNameA(api_.module, path, MAX_PATH);
    EXPECT_EQ(std::string(path), simtest::ProgramPath("Wintab32.dll")) << "Wine's own library was loaded";
    EXPECT_TRUE(pz::IsMakersLibrary(path)) << "the service's library check would replace it";
    const struct {
        const char* name;
        int ordinal;
    } exports[] = {{"WTInfoA", 20},    {"WTOpenA", 21},        {"WTClose", 22},        {"WTPacketsGet", 23},
                   {"WTPacket", 24},   {"WTEnable", 40},       {"WTOverlap", 41},      {"WTConfig", 60},
                   {"WTGetA", 61},     {"WTSetA", 62},         {"WTExtGet", 63},       {"WTExtSet", 64},
                   {"WTSave", 65},     {"WTRestore", 66},      {"WTPacketsPeek", 80},  {"WTDataGet", 81},
                   {"WTDataPeek", 82}, {"WTQueueSizeGet", 84}, {"WTQueueSizeSet", 85}, {"WTInfoW", 1020},
                   {"WTOpenW", 1021},  {"WTGetW", 1061},       {"WTSetW", 1062},       {"WTPzFocus", 911}};
    for (const auto& e : exports) {
        FARPROC byName = GetProcAddress(api_.module, e.name);
        EXPECT_NE(byName, nullptr) << e.name;
        EXPECT_EQ(byName, GetProcAddress(api_.module, MAKEINTRESOURCEA(e.ordinal))) << e.name;
    }
}

TEST_F(WintabClient, DeviceAndCursorsAreDescribedWithoutAService) {
    EXPECT_GT(api_.Info(0, 0, nullptr), 0u);
    char name[64] = {};
    EXPECT_GT(api_.Info(WTI_DEVICES, DVC_NAME, name), 0u);
    EXPECT_STREQ(name, "PzTablet");
    AXIS axes[3] = {};
    ASSERT_EQ(api_.Info(WTI_DEVICES, DVC_X, axes), sizeof(AXIS));
    EXPECT_EQ(axes[0].axMax, 10206);
    ASSERT_EQ(api_.Info(WTI_DEVICES, DVC_NPRESSURE, axes), sizeof(AXIS));
    EXPECT_EQ(axes[0].axMax, 1023);
    ASSERT_EQ(api_.Info(WTI_DEVICES, DVC_ORIENTATION, axes), 3 * sizeof(AXIS));
    EXPECT_NE(axes[0].axResolution, 0u);
    EXPECT_EQ(axes[1].axMax, 900);
    UINT first = 0, count = 0;
    api_.Info(WTI_DEVICES, DVC_FIRSTCSR, &first);
    api_.Info(WTI_DEVICES, DVC_NCSRTYPES, &count);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(count, 2u);
    EXPECT_GT(api_.Info(WTI_CURSORS + 2, CSR_NAME, name), 0u);
    EXPECT_STREQ(name, "Eraser");
    EXPECT_EQ(api_.Info(WTI_EXTENSIONS, 0, name), 0u);
    // No service: opening fails instead of hanging.
    EXPECT_EQ(OpenContext(TRUE), nullptr);
}

bool IsTip(const Packet& p) {
    return p.buttons == 1;
}

// A stroke with the pen tip, a pause in which the pressure level changes, more of the stroke, the pen
// lifted and turned to its eraser.
TEST_F(WintabClient, StrokeArrivesInTheProgramsFormatWithThePressureCurveOfEachMoment) {
    const std::string pen = Glide(kHover, 2000, 3000, 3) + Glide(kTip, 2120, 3000, 8, 300) + Pause(2000) +
                            Glide(kTip, 2440, 3000, 8, 300) + Glide(kHover, 2760, 3000, 2) + Report8(0, 0, 0, 0);
    const std::string eraser =
        Glide(kEraserHover, 5000, 3000, 3) + Glide(kEraserDown, 5120, 3000, 4, 400) + Report8(0, 0, 0, 0);
    StartServiceWithTablet(pen + Pause(300) + eraser);
    settings_->Record.PressureLevel = 200;
    received_.context = OpenContext(TRUE);
    ASSERT_NE(received_.context, nullptr);
    EXPECT_TRUE(api_.QueueSizeSet(received_.context, 128));
    EXPECT_EQ(api_.QueueSizeGet(received_.context), 128);

    ASSERT_TRUE(Pump([&] {
        int tips = 0;
        for (const Packet& p : received_.packets) tips += IsTip(p);
        return tips >= 8;
    })) << "the first half of the stroke did not arrive";
    const size_t changedAt = received_.packets.size();
    settings_->Record.PressureLevel = 100;
    ASSERT_TRUE(Pump([&] { return DeviceDone(); }, 30000));
    Pump([] { return false; }, 500);  // the last messages

    EXPECT_EQ(received_.foreignHandles, 0);
    EXPECT_EQ(received_.missed, 0);
    int firstHalf = 0, secondHalf = 0, eraserDown = 0;
    for (size_t i = 0; i < received_.packets.size(); ++i) {
        const Packet& p = received_.packets[i];
        if (p.cursor == kEraserCursor) {
            EXPECT_EQ(p.orientation.orAltitude, -900);
            if (p.buttons == 1) {
                ++eraserDown;
                EXPECT_EQ(p.y, 7422 - 3000);
            }
            continue;
        }
        EXPECT_EQ(p.cursor, kPenCursor);
        EXPECT_EQ(p.orientation.orAltitude, 900);
        if (!IsTip(p)) {
            EXPECT_EQ(p.pressure, 0u) << "a hovering pen has no pressure";
            continue;
        }
        EXPECT_EQ(p.y, 7422 - 3000) << "context Y grows upwards";
        const unsigned level = i < changedAt ? 200 : 100;
        bool known = false;
        for (unsigned raw = 300; raw < 300 + 20 * 8; raw += 20) known = known || p.pressure == Curved(raw, level);
        EXPECT_TRUE(known) << "packet " << i << " pressure " << p.pressure << " at level " << level;
        (i < changedAt ? firstHalf : secondHalf)++;
        if (i > 0) {
            EXPECT_GE(p.time, received_.packets[i - 1].time);
        }
    }
    EXPECT_GE(firstHalf, 8);
    EXPECT_GE(secondHalf, 6);
    EXPECT_GE(eraserDown, 3);
    // Enter and leave in turn, at least once for each end of the pen (the service adds a leave and a return
    // when the pen end flips).
    ASSERT_GE(received_.proximity.size(), 4u);
    for (size_t i = 0; i < received_.proximity.size(); ++i)
        EXPECT_EQ(received_.proximity[i], i % 2 == 0 ? 0x10001 : 0x10000) << "proximity message " << i;
    EXPECT_EQ(received_.proximity.size() % 2, 0u) << "the pen is gone at the end";
}

// Two contexts of one program polled without messages: the top one gets the packets, WTOverlap and
// WTEnable move them, and each context keeps its own packet format and queue size.
TEST_F(WintabClient, SeveralContextsArePolledInTheirOwnFormatAndFollowOverlapAndEnable) {
    StartServiceWithTablet(Glide(kHover, 1000, 2000, 6) + Pause(2000) + Glide(kHover, 3000, 2000, 8) + Pause(2000) +
                           Glide(kHover, 5000, 2000, 6) + Pause(500));
    wintab::LOGCONTEXTA context{};
    api_.Info(WTI_DEFCONTEXT, 0, &context);
    context.lcPktData = wintab::PK_CONTEXT | wintab::PK_STATUS | wintab::PK_SERIAL_NUMBER | wintab::PK_X;
    HCTX a = api_.Open(window_, &context, TRUE);
    context.lcPktData = wintab::PK_X | wintab::PK_Y;
    HCTX b = api_.Open(window_, &context, TRUE);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(api_.QueueSizeSet(a, 4));
    ASSERT_TRUE(api_.QueueSizeSet(b, 64));
    int32_t scratch[64 * 4];
    auto peek = [&](HCTX h) { return api_.PacketsPeek(h, 64, scratch); };

    // The context opened last is on top and current.
    int32_t xy[64 * 2] = {};
    ASSERT_TRUE(Pump([&] { return peek(b) >= 6; }));
    EXPECT_EQ(peek(a), 0);
    const int first = api_.PacketsGet(b, 64, xy);
    EXPECT_GE(first, 6);
    // The smoothed pen moves right along Y 2000 of the tablet; context Y grows upwards.
    for (int i = 1; i < first; ++i) EXPECT_GE(xy[2 * i], xy[2 * (i - 1)]) << "packet " << i;
    EXPECT_GT(xy[2 * (first - 1)], 1000);
    EXPECT_LE(xy[2 * (first - 1)], 1000 + 40 * 5);
    EXPECT_EQ(xy[2 * (first - 1) + 1], 7422 - 2000);

    ASSERT_TRUE(api_.Overlap(a, TRUE));
    ASSERT_TRUE(Pump([&] { return peek(a) >= 4; }));
    Pump([] { return false; }, 500);
    EXPECT_EQ(peek(b), 0);
    struct {
        uintptr_t context;
        uint32_t status;
        uint32_t serial;
        int32_t x;
    } packed[8] = {};
    static_assert(sizeof(void*) == 8 ? sizeof packed[0] == 24 : sizeof packed[0] == 16, "handle-wide packets");
    ASSERT_EQ(api_.PacketsGet(a, 8, packed), 4) << "the queue of four keeps the newest";
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(packed[i].context, reinterpret_cast<uintptr_t>(a));
        if (i > 0) {
            EXPECT_EQ(packed[i].serial, packed[i - 1].serial + 1);
        }
    }
    EXPECT_NE(packed[3].status & TPS_QUEUE_ERR, 0u);
    EXPECT_GT(packed[3].x, 3000);
    EXPECT_LE(packed[3].x, 3000 + 40 * 7);

    // Disabling hands the pen to the service's first other client: the program's other context.
    ASSERT_TRUE(api_.Enable(a, FALSE));
    wintab::LOGCONTEXTA got{};
    ASSERT_TRUE(api_.GetContext(a, &got));
    EXPECT_NE(got.lcStatus & CXS_DISABLED, 0u);
    ASSERT_TRUE(Pump([&] { return DeviceDone() && peek(b) >= 6; }));
    EXPECT_EQ(peek(a), 0);
    EXPECT_GE(api_.PacketsGet(b, 64, nullptr), 6) << "a null buffer empties the queue";
    EXPECT_EQ(peek(b), 0);
    EXPECT_TRUE(api_.Close(a));
    EXPECT_TRUE(api_.Close(b));
    EXPECT_FALSE(api_.Close(a));
}

// The canvas program draws a pressed stroke across the tablet and erases its middle with the eraser end;
// its saved picture shows both.
TEST_F(WintabClient, CanvasDrawsTheStrokeErasesWithTheEraserAndSavesAPicture) {
    std::string stroke = Report8(kHover, 1000, 3000, 0);
    for (unsigned x = 1000; x <= 5000; x += 100) stroke += Report8(kTip, x, 3000, 600);
    std::string rub = Report8(kEraserHover, 3000, 3000, 0);
    for (unsigned x = 2900; x <= 3300; x += 50) rub += Report8(kEraserDown, x, 3000, 600);
    StartServiceWithTablet(stroke + Report8(0, 0, 0, 0) + Pause(200) + rub + Report8(0, 0, 0, 0));
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    const std::string picture = std::string(directory) + "wintab-canvas-test.bmp";
    DeleteFileA(picture.c_str());
    Child canvasProgram("\"" + simtest::ProgramPath("wintab-canvas.exe") + "\" --size 400x300 --max-width 4 --save \"" +
                        picture + "\" --close-after 9000");
    ASSERT_TRUE(canvasProgram.Started());
    ASSERT_EQ(canvasProgram.Wait(30000), 0u) << "the canvas did not open its context or did not end";

    HANDLE file = CreateFileA(picture.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> bmp(54 + 1200 * 300);
    DWORD read = 0;
    ReadFile(file, bmp.data(), static_cast<DWORD>(bmp.size()), &read, nullptr);
    CloseHandle(file);
    ASSERT_EQ(read, bmp.size());
    // 24-bit rows of 1200 bytes, bottom row first. Canvas X = tablet X * 400 / 10206, Y = 3000 * 300 / 7422.
    auto darkNear = [&](int x) {
        for (int y = 119; y <= 123; ++y) {
            const uint8_t* pixel = &bmp[54 + (299 - y) * 1200 + x * 3];
            if (pixel[0] < 128 && pixel[1] < 128 && pixel[2] < 128) return true;
        }
        return false;
    };
    EXPECT_TRUE(darkNear(4000 * 400 / 10206)) << "the stroke after the erased part";
    EXPECT_TRUE(darkNear(2000 * 400 / 10206)) << "the stroke before the erased part";
    EXPECT_FALSE(darkNear(3100 * 400 / 10206)) << "the eraser's path";
    EXPECT_FALSE(darkNear(8000 * 400 / 10206)) << "where the pen never was";
}

}  // namespace
