// Whole-pipeline behaviour, replayed on the simulated clock: which reports become pointer events,
// position messages and packets, and what the packets hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packet_builder.h"
#include "quiet_port.h"
#include "replay_session.h"

namespace {

using namespace ktpen;
using Kind = ReplayEvent::Kind;

constexpr uint32_t kSystemAndMessages = wintab::CXO_SYSTEM | wintab::CXO_MESSAGES;

ReplayOptions WithContext(uint32_t lcOptions = kSystemAndMessages) {
    ReplayOptions options;
    options.withContext = true;
    options.contextOptions = lcOptions;
    options.outExtX = 10206;
    options.outExtY = 7422;
    options.tailMs = 0;
    return options;
}

std::vector<ReplayEvent> Replay(const ReplayOptions& options, const std::string& script) {
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError error;
    EXPECT_TRUE(pz::ParseReportScript(script, pz::ScriptDialect::Reports, steps, error)) << error.message;
    ReplaySession session(options);
    session.Run(steps);
    return session.Events();
}

std::vector<ReplayEvent> OfKind(const std::vector<ReplayEvent>& events, Kind kind) {
    std::vector<ReplayEvent> out;
    for (const ReplayEvent& e : events)
        if (e.kind == kind) out.push_back(e);
    return out;
}

std::vector<ReplayEvent> Posts(const std::vector<ReplayEvent>& events, uint32_t message) {
    std::vector<ReplayEvent> out;
    for (const ReplayEvent& e : OfKind(events, Kind::Post))
        if (e.message == message) out.push_back(e);
    return out;
}

TEST(PenPipeline, RepeatedSampleMovesNothingButStillReportsThePosition) {
    ReplayOptions options = WithContext();
    options.positionWindow = true;
    const auto events = Replay(options, "01 90 10 27 00 10 00 00\n01 90 10 27 00 10 00 00\n");
    EXPECT_EQ(OfKind(events, Kind::Pointer).size(), 1u);
    EXPECT_EQ(Posts(events, 0x7FFA).size(), 2u);
    EXPECT_EQ(Posts(events, 0x7FFA)[1].lParam, (0x1000u << 16) | 0x2710u);
}

TEST(PenPipeline, PressureAloneMakesNoPacket) {
    const auto events =
        Replay(WithContext(), "01 90 10 27 00 10 00 00\n01 91 10 27 00 10 00 01\n01 91 10 27 00 10 00 02\n");
    const auto packets = OfKind(events, Kind::Packet);
    ASSERT_EQ(packets.size(), 3u) << "entering packet, entering sample, tip down";
    EXPECT_EQ(packets.back().packet.pkButtons, 1u);
}

TEST(PenPipeline, TheFirstReportInRangeNeverPresses) {
    const auto events = Replay(WithContext(), "01 11 10 27 00 10 00 01\n01 11 12 27 00 10 00 01\n");
    const auto pointer = OfKind(events, Kind::Pointer);
    ASSERT_EQ(pointer.size(), 2u);
    EXPECT_EQ(pointer[0].flags, kMove);
    EXPECT_EQ(pointer[0].state.buttons, 0);
    EXPECT_EQ(pointer[1].flags, kLeftDown);
}

TEST(PenPipeline, ContextWithoutSystemCursorGetsPacketsWhileThePointerStaysStill) {
    const auto events = Replay(WithContext(wintab::CXO_MESSAGES),
                               "01 90 10 27 00 10 00 00\n01 91 20 27 00 10 00 02\n+20 01 00 00 00 00 00 00 00\n");
    const auto pointer = OfKind(events, Kind::Pointer);
    ASSERT_EQ(pointer.size(), 1u) << "only the release when the pen leaves";
    EXPECT_EQ(pointer[0].flags, kLeftUp);
    EXPECT_EQ(OfKind(events, Kind::Packet).size(), 4u);
    EXPECT_EQ(Posts(events, wintab::WT_PACKET).size(), 4u);
    EXPECT_TRUE(Posts(events, wintab::WT_CSRCHANGE).empty()) << "no CXO_CSRMESSAGES";
}

TEST(PenPipeline, OptionsZeroPostNoPacketMessages) {
    const auto events = Replay(WithContext(0), "01 90 10 27 00 10 00 00\n01 90 20 27 00 10 00 00\n");
    EXPECT_TRUE(Posts(events, wintab::WT_PACKET).empty());
    EXPECT_TRUE(Posts(events, wintab::WT_CSRCHANGE).empty());
    EXPECT_TRUE(OfKind(events, Kind::Pointer).empty());
    EXPECT_EQ(OfKind(events, Kind::Packet).size(), 3u);
}

TEST(PenPipeline, DisabledContextGetsNothing) {
    ReplayOptions options = WithContext();
    options.contextDisabled = true;
    const auto events = Replay(options, "01 90 10 27 00 10 00 00\n01 91 20 27 00 10 00 02\n");
    EXPECT_TRUE(OfKind(events, Kind::Packet).empty());
    EXPECT_EQ(OfKind(events, Kind::Pointer).size(), 2u);
}

TEST(PenPipeline, ZeroWidthAreaMakesNoEventAndNoPacket) {
    ReplayOptions options = WithContext();
    options.area = {5000, 0, 5000, 7422};
    const auto events = Replay(options, "01 90 88 13 00 10 00 00\n01 91 88 13 00 10 00 02\n");
    EXPECT_TRUE(OfKind(events, Kind::Pointer).empty());
    EXPECT_TRUE(OfKind(events, Kind::Packet).empty());
}

// Position of one packet built at tablet (x, y) for a context with the given output extents.
wintab::PACKET PacketAt(uint16_t x, uint16_t y, int32_t extX, int32_t extY, int32_t orgX = 0, int32_t orgY = 0) {
    pz::WintabContextBlock context{};
    context.Enabled = 1;
    context.Context.lcOutOrgX = orgX;
    context.Context.lcOutOrgY = orgY;
    context.Context.lcOutExtX = extX;
    context.Context.lcOutExtY = extY;
    const uint8_t record[14] = {1, 0x90};
    QuietPort port;
    PacketBuilder builder;
    builder.BuildPacket(&context, x, y, 0, record, 0, PacketEnvironment{port, 100, 1023, false});
    return context.PacketQueue[0].Packet;
}

TEST(PacketValues, CoordinatesFollowTheContextAxes) {
    const struct {
        uint16_t x, y;
        int32_t extX, extY, orgX, orgY;
        int32_t px, py;
    } cases[] = {
        {0, 0, 10206, 7422, 0, 0, 0, 7422},  // context Y grows upwards
        {10206, 7422, 10206, 7422, 0, 0, 10206, 0},
        {0, 100, 10206, -7422, 0, 0, 0, 100},          // negative extent: Y downwards, as on the tablet
        {5103, 3711, 1000, 1000, 1000, 0, 0, 500},     // extent equal to the origin: x is always 0
        {10206, 0, 2000000, 100, 0, 0, 2000000, 100},  // large extents scale without overflow
    };
    for (const auto& c : cases) {
        const wintab::PACKET p = PacketAt(c.x, c.y, c.extX, c.extY, c.orgX, c.orgY);
        EXPECT_EQ(p.pkX, c.px) << c.x << "," << c.y;
        EXPECT_EQ(p.pkY, c.py) << c.x << "," << c.y;
    }
}

TEST(PenPipeline, EraserPacketsCarryCursorTwoAndNegativeAltitude) {
    ReplayOptions options = WithContext();
    options.tablet.reportLength = 10;
    const auto packets = OfKind(Replay(options, "02 b0 13 88 0b b8 00 20 40 00\n"), Kind::Packet);
    ASSERT_FALSE(packets.empty());
    EXPECT_EQ(packets[0].packet.pkCursor, 2u);
    EXPECT_EQ(packets[0].packet.pkOrientation.orAltitude, -900);
    EXPECT_TRUE(packets[0].packet.pkChanged & 0x20);
}

TEST(PenPipeline, PressureLevelComesFromTheBlockForEveryPacket) {
    ReplayOptions options = WithContext();
    options.pressureLevel = 200;
    // Raw 545 on a 1023 tablet scales to 524; the curve of level 200 gives 524 x 524 / 1023.
    const auto packets = OfKind(Replay(options, "01 90 10 27 00 10 00 00\n01 91 12 27 00 10 21 02\n"), Kind::Packet);
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets.back().packet.pkNormalPressure, 268u);
}

TEST(PenPipeline, HoveringPacketsHaveNoPressure) {
    const auto packets =
        OfKind(Replay(WithContext(), "01 90 10 27 00 10 00 03\n01 90 20 27 00 10 00 03\n"), Kind::Packet);
    for (const ReplayEvent& e : packets) EXPECT_EQ(e.packet.pkNormalPressure, 0u);
}

TEST(PacketQueue, SixtyFifthPacketDropsTheFirst) {
    pz::WintabContextBlock context{};
    context.ContextId = 1537;
    PacketBuilder builder;
    for (uint32_t i = 0; i < 65; ++i) builder.EnqueuePacket(&context, 1, 0, static_cast<int32_t>(i), 0, 0, i);
    EXPECT_EQ(context.QueueLength, 64u);
    EXPECT_EQ(context.PacketSerial, 65u);
    EXPECT_EQ(context.PacketQueue[0].Packet.pkX, 1) << "entry 0 holds the second packet";
    EXPECT_EQ(context.PacketQueue[63].Packet.pkX, 64);
    EXPECT_EQ(context.PacketQueue[63].Packet.pkSerialNumber, 64u);
}

TEST(PacketQueue, ChangeFlagsCompareWithTheLastPacketOfAnyContext) {
    pz::WintabContextBlock a{}, b{};
    PacketBuilder builder;
    builder.EnqueuePacket(&a, 1, 1, 100, 200, 300, 5);
    builder.EnqueuePacket(&b, 1, 1, 100, 200, 300, 5);
    EXPECT_EQ(b.PacketQueue[0].Packet.pkChanged, 0u);
    builder.EnqueuePacket(&b, 2, 1, 100, 201, 300, 6);
    EXPECT_EQ(b.PacketQueue[1].Packet.pkChanged, 0x20u | 0x100u | 0x40u);
    // A coordinate beyond 16 bits never equals its stored low half.
    builder.EnqueuePacket(&b, 2, 1, 70000, 201, 300, 6);
    builder.EnqueuePacket(&b, 2, 1, 70000, 201, 300, 6);
    EXPECT_EQ(b.PacketQueue[3].Packet.pkChanged, 0x80u);
}

}  // namespace
