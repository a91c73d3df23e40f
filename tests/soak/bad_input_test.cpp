// Bad input to the tablet service under Wine: reports of every wrong length, settings files shorter than
// their 16 bytes, and a Wintab client that writes garbage commands and contexts. The service must neither
// crash nor hang, act on nothing it should drop, and write nothing outside what it owns.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "raw_wintab_client.h"
#include "records.h"
#include "sim_tablet_harness.h"
#include "wintab_types.h"

namespace {

using rawwintab::MessageWindow;
using rawwintab::PumpUntil;
using rawwintab::RawClient;
using simtest::Child;
using simtest::DeviceSpec;
using simtest::MouseRecord;

constexpr unsigned kHover = 0x90;
constexpr unsigned kTip = 0x91;
constexpr unsigned kOwnLeaveProduct = 0x8201;  // 8- and 10-byte rows

bool Near(const POINT& a, const POINT& b) {
    return std::abs(a.x - b.x) <= 6 && std::abs(a.y - b.y) <= 6;
}

std::string Line(const std::vector<uint8_t>& bytes) {
    std::string text;
    char hex[4];
    for (uint8_t byte : bytes) {
        std::snprintf(hex, sizeof hex, "%02x ", byte);
        text += hex;
    }
    return text + "\n";
}

// A report of the tablet's own length: little-endian fields for 8 bytes, big-endian and tilt for 10.
std::vector<uint8_t> Report(unsigned length, unsigned status, unsigned x, unsigned y, unsigned pressure) {
    if (length == 8)
        return {2,
                static_cast<uint8_t>(status),
                static_cast<uint8_t>(x),
                static_cast<uint8_t>(x >> 8),
                static_cast<uint8_t>(y),
                static_cast<uint8_t>(y >> 8),
                static_cast<uint8_t>(pressure),
                static_cast<uint8_t>(pressure >> 8)};
    return {2,
            static_cast<uint8_t>(status),
            static_cast<uint8_t>(x >> 8),
            static_cast<uint8_t>(x),
            static_cast<uint8_t>(y >> 8),
            static_cast<uint8_t>(y),
            static_cast<uint8_t>(pressure >> 2),
            static_cast<uint8_t>((pressure & 3) << 6 | 32),
            64,
            0};
}

std::vector<MouseRecord> InjectedRecords(const simtest::MouseRecorder& recorder) {
    std::vector<MouseRecord> injected;
    for (const MouseRecord& record : recorder.Records())
        if (record.injected) injected.push_back(record);
    return injected;
}

std::string ServiceCommand() {
    return "\"" + simtest::ProgramPath("ktpen-sim.exe") + "\" -d";
}

class BadInput : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::EnsureSettingsFile();
        SetCursorPos(1, 1);
    }

    simtest::MouseRecorder recorder_;
};

class WrongLength : public BadInput, public ::testing::WithParamInterface<unsigned> {};

// Between good hover reports come reports of every other length from 1 to twice the right one, each a
// press at a far corner made of whole copies of a good report, so that a long one read in report-sized
// pieces would press there. None may act, and the reader must go on without losing the tablet.
TEST_P(WrongLength, ReportsAreDroppedAndTheReaderGoesOn) {
    const unsigned length = GetParam();
    const std::vector<uint8_t> poison = Report(length, kTip, 9000, 600, 400);
    std::string script = Line(Report(length, kHover, 1000, 6000, 0));
    for (unsigned wrong = 1; wrong <= 2 * length; ++wrong) {
        if (wrong == length) continue;
        std::vector<uint8_t> bad;
        while (bad.size() < wrong) bad.push_back(poison[bad.size() % length]);
        script += Line(Report(length, kHover, 1000 + 60 * wrong, 6000, 0)) + Line(bad);
    }
    for (int i = 0; i < 6; ++i) script += Line(Report(length, kHover, 4000, 5000, 0));
    script += Line(std::vector<uint8_t>(length, 0)) + "wait 200\n";
    DeviceSpec tablet;
    tablet.productId = kOwnLeaveProduct;
    tablet.reportLength = length;
    std::unique_ptr<Child> device(simtest::StartDevice(tablet, script));
    ASSERT_TRUE(simtest::WaitUntilPlugged(0, 10000));
    Child service(ServiceCommand());
    ASSERT_EQ(device->Wait(20000), 0u) << "the tablet was not read to its end";
    Sleep(200);

    const std::vector<MouseRecord> injected = InjectedRecords(recorder_);
    ASSERT_FALSE(injected.empty());
    EXPECT_TRUE(recorder_.Injected(WM_LBUTTONDOWN).empty()) << "a wrong-length report pressed the tip";
    const POINT corner = simtest::ExpectedPoint(9000, 600);
    for (const MouseRecord& record : injected)
        EXPECT_FALSE(Near(record.point, corner)) << "a wrong-length report moved the pointer";
    const POINT last = injected.back().point;
    EXPECT_TRUE(Near(last, simtest::ExpectedPoint(4000, 5000))) << last.x << "," << last.y;
    // A lost tablet would be searched for again only after 6000 ms.
    EXPECT_LT(injected.back().tick - injected.front().tick, 3000u) << "the tablet was lost on the way";
    EXPECT_EQ(service.Wait(0), static_cast<DWORD>(STILL_ACTIVE));
}

INSTANTIATE_TEST_SUITE_P(Tablets, WrongLength, ::testing::Values(8u, 10u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "Length" + std::to_string(info.param);
                         });

std::string SettingsFilePath() {
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\PzTablet.cfg";
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL done =
        bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return done && written == bytes.size();
}

// Every length the file can fall short by, cut from an image whose fields are all extreme: the most
// pressure, an inverted area and the all-ones reserved word. The service starts, opens the tablet and
// takes a stroke through whatever the file left in the block.
TEST_F(BadInput, SettingsFilesShorterThanSixteenBytes) {
    const std::string path = SettingsFilePath();
    const uint8_t image[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0xA5, 0xA5, 0xA5,
                               0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    std::string stroke;
    for (int i = 0; i < 4; ++i) stroke += simtest::Report8(kHover, 3000 + 40 * i, 3000, 0);
    for (int i = 0; i < 6; ++i) stroke += simtest::Report8(kTip, 3200 + 40 * i, 3000, 300 + 50 * i);
    stroke += simtest::Report8(kHover, 3500, 3000, 0) + simtest::Report8(0, 0, 0, 0) + "wait 200\n";
    for (size_t size = 0; size < sizeof image; ++size) {
        ASSERT_TRUE(WriteBytes(path, std::vector<uint8_t>(image, image + size)));
        DeviceSpec tablet;
        tablet.productId = kOwnLeaveProduct;
        std::unique_ptr<Child> device(simtest::StartDevice(tablet, stroke));
        ASSERT_TRUE(simtest::WaitUntilPlugged(0, 10000)) << size << " bytes";
        Child service(ServiceCommand());
        EXPECT_NE(rawwintab::WaitForServer(10000), 0u) << size << " bytes: the service did not start";
        EXPECT_EQ(device->Wait(10000), 0u) << size << " bytes: the tablet was not read to its end";
        EXPECT_EQ(service.Wait(300), static_cast<DWORD>(STILL_ACTIVE)) << size << " bytes: the service ended";
    }
    DeleteFileA(path.c_str());
    simtest::EnsureSettingsFile();
}

// Contexts that every scaling must survive: empty, negative and the widest extents, each axis alone.
struct ExtentCase {
    int32_t inExt;
    int32_t outExt;
};
constexpr ExtentCase kExtents[] = {{0, 0},       {10206, 0},         {0, 10206},
                                   {-1, -1},     {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN},
                                   {1, INT_MAX}, {INT_MAX, 1},       {-10206, -65535}};

void WriteGarbage(pz::WintabContextBlock& block, std::mt19937& random, size_t round) {
    auto* context = reinterpret_cast<uint8_t*>(&block.Context);
    for (size_t i = 0; i < sizeof block.Context; ++i) context[i] = static_cast<uint8_t>(random());
    const ExtentCase& extent = kExtents[round % (sizeof kExtents / sizeof kExtents[0])];
    if (round % 2 == 0) {  // a context otherwise sane enough for packets to be built from it
        block.Context.lcOptions = wintab::CXO_MESSAGES | 8;
        block.Context.lcMsgBase = 0x7FF0;
        block.Context.lcInOrgX = block.Context.lcInOrgY = 0;
        block.Context.lcInExtX = block.Context.lcInExtY = extent.inExt;
        block.Context.lcOutExtX = block.Context.lcOutExtY = extent.outExt;
    }
    static const uint32_t kWindows[] = {0, 0xFFFFFFFFu, 0x12345678u};
    block.ClientWindow = kWindows[round % 3];
    block.QueueLength = round % 5 == 0 ? static_cast<uint32_t>(random()) : block.QueueLength;
    block.Enabled = static_cast<uint32_t>(random()) % 3;
}

uint32_t GarbageCommand(std::mt19937& random) {
    static const uint32_t kCodes[] = {pz::kCommandEmptyQueue, pz::kCommandEnable, pz::kCommandDisable,
                                      pz::kCommandMakeCurrent};
    const uint32_t value = static_cast<uint32_t>(random());
    return value % 2 == 0 ? kCodes[(value >> 1) % 4] : value;
}

bool AllZero(const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

// A hover that moves every 10 ms for `durationMs`.
std::string MovingHover(DWORD durationMs) {
    std::string text;
    for (DWORD t = 0, i = 0; t < durationMs; t += 10, ++i)
        text += "+10 " + simtest::Report8(kHover, 2000 + 25 * (i % 160), 3000 + 25 * (i % 90), 0);
    return text;
}

TEST_F(BadInput, GarbageCommandsAndContextsFromAWintabClient) {
    DeviceSpec tablet;
    tablet.productId = kOwnLeaveProduct;
    std::unique_ptr<Child> device(simtest::StartDevice(tablet, MovingHover(15000)));
    ASSERT_TRUE(simtest::WaitUntilPlugged(0, 10000));
    Child service(ServiceCommand());
    ASSERT_NE(rawwintab::WaitForServer(10000), 0u);

    RawClient garbage;
    ASSERT_TRUE(garbage.Connect());
    pz::WintabContextBlock& block = *garbage.Block();
    std::mt19937 random(8);
    for (size_t round = 0; round < 3000; ++round) {
        WriteGarbage(block, random, round);
        garbage.Command(GarbageCommand(random));
        if (round % 10 == 0) Sleep(5);  // reports come in between
    }
    EXPECT_EQ(service.Wait(500), static_cast<DWORD>(STILL_ACTIVE)) << "the service ended";
    EXPECT_TRUE(AllZero(block.Unused5568, sizeof block.Unused5568)) << "written past the packet queue";
    EXPECT_TRUE(AllZero(block.Unused5592, sizeof block.Unused5592)) << "written past the queue fields";

    MessageWindow window;
    RawClient sane;
    ASSERT_TRUE(sane.Connect()) << "no connection after the garbage";
    sane.Block()->ClientWindow = window.Value();
    sane.Block()->Context.lcOptions |= wintab::CXO_MESSAGES;
    sane.Command(pz::kCommandEnable);
    const uint32_t serial = sane.Block()->PacketSerial;
    EXPECT_TRUE(PumpUntil([&] { return sane.Block()->PacketSerial >= serial + 5; }, 5000)) << "no packets";
    EXPECT_LE(sane.Block()->QueueLength, pz::kPacketQueueCapacity);
    EXPECT_FALSE(window.Received(wintab::WT_PACKET).empty());
    sane.Close();
    garbage.Close();
    EXPECT_EQ(service.Wait(0), static_cast<DWORD>(STILL_ACTIVE));
}

}  // namespace
