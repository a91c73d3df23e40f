// A context's own queue: its size, overflow, and the ways WTPacket, WTPacketsGet and WTDataGet take from it.
#include <gtest/gtest.h>

#include "context_queue.h"
#include "wintab_constants.h"

namespace {

using wt32::ContextQueue;

wintab::PACKET Packet(uint32_t serial) {
    wintab::PACKET p{};
    p.pkSerialNumber = serial;
    p.pkX = static_cast<int32_t>(serial * 10);
    return p;
}

ContextQueue Filled(uint32_t first, uint32_t last, int size = 16) {
    ContextQueue queue;
    EXPECT_TRUE(queue.Resize(size));
    for (uint32_t serial = first; serial <= last; ++serial) queue.Push(Packet(serial));
    return queue;
}

std::vector<uint32_t> Serials(const std::vector<wintab::PACKET>& packets) {
    std::vector<uint32_t> serials;
    for (const auto& p : packets) serials.push_back(p.pkSerialNumber);
    return serials;
}

TEST(ContextQueue, FullQueueKeepsTheNewestAndMarksTheOverflow) {
    ContextQueue queue = Filled(1, 10, 8);
    EXPECT_EQ(queue.Size(), 8u);
    const auto packets = queue.Take(8);
    EXPECT_EQ(Serials(packets), (std::vector<uint32_t>{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(packets[0].pkStatus & wt32::TPS_QUEUE_ERR, 0u);
    EXPECT_NE(packets.back().pkStatus & wt32::TPS_QUEUE_ERR, 0u);
}

TEST(ContextQueue, ResizeAcceptsOneToTheLimitAndEmpties) {
    ContextQueue queue = Filled(1, 5);
    EXPECT_FALSE(queue.Resize(0));
    EXPECT_FALSE(queue.Resize(-3));
    EXPECT_FALSE(queue.Resize(wt32::kMaxQueueSize + 1));
    EXPECT_EQ(queue.Size(), 5u);  // a refused size changes nothing
    EXPECT_TRUE(queue.Resize(128));
    EXPECT_EQ(queue.Capacity(), 128u);
    EXPECT_EQ(queue.Size(), 0u);
}

TEST(ContextQueue, PeekLeavesAndTakeRemovesTheOldest) {
    ContextQueue queue = Filled(1, 5);
    EXPECT_EQ(Serials(queue.Peek(3)), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(Serials(queue.Take(3)), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(Serials(queue.Take(10)), (std::vector<uint32_t>{4, 5}));
    EXPECT_TRUE(queue.Take(1).empty());
}

TEST(ContextQueue, TakeSerialDropsThatPacketAndOlderOnes) {
    ContextQueue queue = Filled(1, 5);
    wintab::PACKET packet{};
    EXPECT_FALSE(queue.TakeSerial(9, &packet));
    EXPECT_EQ(queue.Size(), 5u);
    EXPECT_TRUE(queue.TakeSerial(3, &packet));
    EXPECT_EQ(packet.pkX, 30);
    EXPECT_EQ(Serials(queue.Peek(10)), (std::vector<uint32_t>{4, 5}));
    EXPECT_TRUE(queue.TakeSerial(4, nullptr));  // no buffer: only flushes
    EXPECT_EQ(queue.Size(), 1u);
}

TEST(ContextQueue, RangeCopiesBetweenTwoQueuedSerials) {
    ContextQueue queue = Filled(1, 6);
    std::vector<wintab::PACKET> out;
    EXPECT_TRUE(queue.Range(2, 4, 10, false, out));
    EXPECT_EQ(Serials(out), (std::vector<uint32_t>{2, 3, 4}));
    EXPECT_EQ(queue.Size(), 6u);
    EXPECT_TRUE(queue.Range(2, 5, 2, true, out));  // the count limits the copy and what is removed
    EXPECT_EQ(Serials(out), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(Serials(queue.Peek(10)), (std::vector<uint32_t>{4, 5, 6}));
    EXPECT_FALSE(queue.Range(5, 4, 10, false, out));
    EXPECT_FALSE(queue.Range(1, 4, 10, false, out));
}

TEST(ContextQueue, BoundsAcrossSerialWrap) {
    ContextQueue queue;
    for (uint32_t serial : {0xFFFFFFFEu, 0xFFFFFFFFu, 0u}) queue.Push(Packet(serial));
    uint32_t oldest = 0, newest = 0;
    EXPECT_TRUE(queue.Bounds(&oldest, &newest));
    EXPECT_EQ(oldest, 0xFFFFFFFEu);
    EXPECT_EQ(newest, 0u);
    queue.Flush();
    EXPECT_FALSE(queue.Bounds(&oldest, &newest));
}

}  // namespace
