// From the service's packets to the program's: new packets once, the eraser marked, relative fields, and
// the context the service is given.
#include <gtest/gtest.h>

#include "context_state.h"
#include "wintab_constants.h"

namespace {

wintab::PACKET Packet(uint32_t serial, uint32_t cursor, int32_t x, uint32_t buttons) {
    wintab::PACKET p{};
    p.pkContext = 1537;
    p.pkSerialNumber = serial;
    p.pkCursor = cursor;
    p.pkX = x;
    p.pkButtons = buttons;
    return p;
}

TEST(ContextState, QueuesEachNewPacketOnceAndMarksTheEraser) {
    wintab::LOGCONTEXTA context{};
    wt32::ContextState state(context);
    const std::vector<wintab::PACKET> first{Packet(0, 1, 10, 0), Packet(1, 2, 20, 1)};
    EXPECT_EQ(state.Accept(first), (std::vector<uint32_t>{0, 1}));
    EXPECT_TRUE(state.Accept(first).empty());
    EXPECT_EQ(state.NewestSerial(), 1u);
    const auto queued = state.Queue().Peek(8);
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].pkStatus & wt32::TPS_INVERT, 0u);
    EXPECT_NE(queued[1].pkStatus & wt32::TPS_INVERT, 0u);
}

TEST(ContextState, RelativeFieldsFollowThePreviousPacketEvenAfterItWasTaken) {
    wintab::LOGCONTEXTA context{};
    context.lcPktMode = wintab::PK_X | wintab::PK_BUTTONS;
    wt32::ContextState state(context);
    state.Accept({Packet(0, 1, 100, 0)});
    state.Queue().Take(8);
    state.Accept({Packet(0, 1, 100, 0), Packet(1, 1, 130, 1)});
    const auto queued = state.Queue().Take(8);
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].pkX, 30);
    EXPECT_EQ(queued[0].pkButtons, wt32::TBN_DOWN << 16);
}

// The service scales over the extent from a zero origin; the program's origin moves every packet.
TEST(ContextState, TheOutputOriginIsAddedToEachPacket) {
    wintab::LOGCONTEXTA context{};
    context.lcOutOrgX = 100;
    context.lcOutOrgY = -50;
    wt32::ContextState state(context);
    wintab::PACKET p = Packet(0, 1, 250, 0);
    p.pkY = 70;
    state.Accept({p});
    const auto queued = state.Queue().Take(1);
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].pkX, 350);
    EXPECT_EQ(queued[0].pkY, 20);
}

TEST(ContextState, TheServiceAlwaysAnnouncesPacketsToTheLibrary) {
    wintab::LOGCONTEXTA context{};
    context.lcOptions = wintab::CXO_SYSTEM | wintab::CXO_CSRMESSAGES | 0x8000;  // CXO_MARGIN is not the service's
    context.lcMsgBase = 0x6000;
    context.lcOutExtX = 500;
    context.lcOutOrgX = 100;
    const auto shared = wt32::ServiceContextFor(context);
    EXPECT_EQ(shared.lcOptions, wintab::CXO_SYSTEM | wintab::CXO_CSRMESSAGES | wintab::CXO_MESSAGES);
    EXPECT_EQ(shared.lcMsgBase, wintab::WT_DEFBASE);
    EXPECT_EQ(shared.lcOutExtX, 500);
    EXPECT_EQ(shared.lcOutOrgX, 0);
    context.lcOptions = 0;
    EXPECT_EQ(wt32::ServiceContextFor(context).lcOptions, wintab::CXO_MESSAGES);
}

}  // namespace
