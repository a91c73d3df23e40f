// The server's bookkeeping of Wintab clients: the table of ten slots, which block is current after each
// connection, command and close, and the Enabled flags that go with it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "initial_context.h"
#include "wintab_clients.h"

namespace {

using ktpen::ClientTable;
using ktpen::WintabClients;

// Eleven blocks: one more than the table holds.
struct Blocks {
    Blocks() : storage(std::make_unique<std::array<pz::WintabContextBlock, 11>>()) {}
    pz::WintabContextBlock* operator[](size_t i) { return &(*storage)[i]; }
    std::unique_ptr<std::array<pz::WintabContextBlock, 11>> storage;
};

TEST(ClientTable, FindsTheFirstOtherClientInSlotOrderAndRefillsTheFirstEmptySlot) {
    Blocks b;
    ClientTable table;
    EXPECT_EQ(table.FindOtherClient(b[0]), nullptr);
    table.RegisterClient(b[0]);
    EXPECT_EQ(table.FindOtherClient(b[0]), nullptr) << "the only client has no other";
    table.RegisterClient(b[1]);
    table.RegisterClient(b[2]);
    EXPECT_EQ(table.FindOtherClient(b[0]), b[1]);
    EXPECT_EQ(table.FindOtherClient(b[1]), b[0]);
    table.UnregisterClient(b[0]);
    EXPECT_EQ(table.FindOtherClient(b[1]), b[2]);
    table.RegisterClient(b[3]);  // takes slot 0 again
    EXPECT_EQ(table.FindOtherClient(b[1]), b[3]);
    table.UnregisterClient(b[9]);  // absent: nothing happens
    EXPECT_EQ(table.FindOtherClient(b[1]), b[3]);
}

TEST(ClientTable, TheEleventhClientIsNeverFound) {
    Blocks b;
    ClientTable table;
    for (size_t i = 0; i < 11; ++i) table.RegisterClient(b[i]);
    for (size_t i = 1; i < 10; ++i) table.UnregisterClient(b[i]);
    EXPECT_EQ(table.FindOtherClient(b[0]), nullptr);
    EXPECT_EQ(table.FindOtherClient(b[10]), b[0]);
}

class Clients : public ::testing::Test {
  protected:
    void Connect(size_t n) { clients.Connect(b[n]); }
    Blocks b;
    WintabClients clients;
};

TEST_F(Clients, ANewConnectionIsCurrentAtOnceButDisabled) {
    Connect(0);
    Connect(1);
    EXPECT_EQ(clients.Current(), b[1]);
    EXPECT_EQ(b[1]->Enabled, 0u);
}

TEST_F(Clients, EnableAndMakeCurrentTakeOverOnlyEnableSetsTheFlag) {
    Connect(0);
    Connect(1);
    clients.Command(b[0], pz::kCommandMakeCurrent);
    EXPECT_EQ(clients.Current(), b[0]);
    EXPECT_EQ(b[0]->Enabled, 0u);
    clients.Command(b[1], pz::kCommandEnable);
    EXPECT_EQ(clients.Current(), b[1]);
    EXPECT_EQ(b[1]->Enabled, 1u);
}

TEST_F(Clients, DisableHandsOverToTheFirstOtherClientAndEnablesIt) {
    Connect(0);
    Connect(1);
    Connect(2);
    clients.Command(b[2], pz::kCommandEnable);
    clients.Command(b[2], pz::kCommandDisable);
    EXPECT_EQ(clients.Current(), b[0]);
    EXPECT_EQ(b[0]->Enabled, 1u);
    EXPECT_EQ(b[2]->Enabled, 0u);
}

TEST_F(Clients, DisableFromTheOnlyClientLeavesNoCurrentContext) {
    Connect(0);
    clients.Command(b[0], pz::kCommandEnable);
    clients.Command(b[0], pz::kCommandDisable);
    EXPECT_EQ(clients.Current(), nullptr);
    EXPECT_EQ(b[0]->Enabled, 0u);
}

TEST_F(Clients, OtherCodesChangeNothing) {
    Connect(0);
    Connect(1);
    for (uint32_t code : {0x12u, 0x20u, 0x30u, 0x40u, 0x50u, 0x51u, 0x103u}) {
        clients.Command(b[0], code);
        EXPECT_EQ(clients.Current(), b[1]) << code;
        EXPECT_EQ(b[0]->Enabled, 0u) << code;
    }
}

TEST_F(Clients, ClosingTheCurrentClientHandsOverAndClosingTheLastLeavesNone) {
    Connect(0);
    Connect(1);
    clients.Close(b[1]);
    EXPECT_EQ(clients.Current(), b[0]);
    EXPECT_EQ(b[0]->Enabled, 1u);
    clients.Close(b[0]);
    EXPECT_EQ(clients.Current(), nullptr);
}

TEST_F(Clients, ClosingAnotherClientKeepsTheCurrentOneAndEnablesIt) {
    Connect(0);
    Connect(1);
    clients.Close(b[0]);
    EXPECT_EQ(clients.Current(), b[1]);
    EXPECT_EQ(b[1]->Enabled, 1u);
    clients.Command(b[1], pz::kCommandDisable);
    EXPECT_EQ(clients.Current(), nullptr) << "the closed client left the table";
}

TEST_F(Clients, TheEleventhBecomesCurrentButIsNeverHandedOver) {
    for (size_t i = 0; i < 11; ++i) Connect(i);
    EXPECT_EQ(clients.Current(), b[10]);
    for (size_t i = 1; i < 10; ++i) clients.Close(b[i]);
    clients.Command(b[0], pz::kCommandEnable);
    clients.Command(b[0], pz::kCommandDisable);
    EXPECT_EQ(clients.Current(), nullptr) << "the eleventh holds no slot";
}

TEST_F(Clients, StopLeavesNoCurrentContext) {
    Connect(0);
    Connect(1);
    clients.Stop(b[1]);
    EXPECT_EQ(clients.Current(), nullptr);
    clients.Command(b[0], pz::kCommandDisable);
    EXPECT_EQ(clients.Current(), nullptr) << "the stopped client left the table";
}

TEST(InitialContext, IsTheDefaultSystemContextOverTheWholeTablet) {
    auto block = std::make_unique<pz::WintabContextBlock>();
    std::memset(block.get(), 0xA5, sizeof *block);
    ktpen::InitialiseContextBlock(*block, 1537);
    EXPECT_EQ(block->ContextId, 1537u);
    EXPECT_EQ(block->ClientWindow, 0u);
    EXPECT_EQ(block->Enabled, 0u);
    EXPECT_EQ(block->QueueLength, 0u);
    EXPECT_EQ(block->PacketSerial, 0u);
    const wintab::LOGCONTEXTA& lc = block->Context;
    EXPECT_EQ(lc.lcName[0], '\0');
    EXPECT_EQ(lc.lcOptions, 1u);
    EXPECT_EQ(lc.lcMsgBase, 0x7FF0u);
    EXPECT_EQ(lc.lcPktRate, 100u);
    EXPECT_EQ(lc.lcPktData, 0x5E0u);
    EXPECT_EQ(lc.lcPktMode, 0u);
    EXPECT_EQ(lc.lcMoveMask, 0x180u);
    EXPECT_EQ(lc.lcInOrgX, 0);
    EXPECT_EQ(lc.lcInExtX, 10206);
    EXPECT_EQ(lc.lcInExtY, 7422);
    EXPECT_EQ(lc.lcOutOrgX, 0);
    EXPECT_EQ(lc.lcOutOrgY, 0);
    EXPECT_EQ(lc.lcOutExtX, 10206);
    EXPECT_EQ(lc.lcOutExtY, 7422);
    EXPECT_EQ(lc.lcSensX, 0x10000u);
    EXPECT_EQ(lc.lcSensY, 0x10000u);
    EXPECT_EQ(lc.lcSensZ, 0x10000u);
    EXPECT_EQ(lc.lcSysMode, 0);
    EXPECT_EQ(lc.lcSysExtX, 1024);
    EXPECT_EQ(lc.lcSysExtY, 768);
    EXPECT_EQ(lc.lcSysSensX, 0x10000u);
    EXPECT_EQ(lc.lcSysSensY, 0x10000u);
}

}  // namespace
