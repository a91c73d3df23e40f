// Reading the shared queue while the service writes it: a copy that mixes two packets is never accepted,
// and each packet is passed on once.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "context_state.h"
#include "shared_queue_reader.h"

namespace {

using wt32::ReadSharedQueue;

// A context block the test fills the way the service does, with a hook that runs inside a read.
class FakeBlock : public wt32::SharedQueueView {
  public:
    FakeBlock() { std::memset(&block_, 0, sizeof block_); }

    // Queue rule of the service: drop the oldest of a full queue, write the entry, then count it.
    void Enqueue(int32_t x) {
        if (block_.QueueLength >= pz::kPacketQueueCapacity) {
            DropOldest(1, pz::kPacketQueueCapacity);
            block_.QueueLength = pz::kPacketQueueCapacity - 1;
        }
        wintab::PACKET& p = block_.PacketQueue[block_.QueueLength].Packet;
        p = wintab::PACKET{};
        p.pkSerialNumber = block_.PacketSerial;
        p.pkX = x;
        p.pkY = x;
        ++block_.QueueLength;
        ++block_.PacketSerial;
    }
    // Moves entries `from`..`upTo`-1 down one place: the service's move, or part of it.
    void DropOldest(uint32_t from, uint32_t upTo) {
        for (uint32_t i = from; i < upTo; ++i) block_.PacketQueue[i - 1] = block_.PacketQueue[i];
    }
    void Empty() { block_.QueueLength = 0; }

    uint32_t Length() override { return block_.QueueLength; }
    uint32_t Serial() override { return block_.PacketSerial; }
    void Entry(uint32_t index, wintab::PACKET* out) override {
        ++reads_;
        if (hook_) hook_(index, reads_);
        *out = block_.PacketQueue[index].Packet;
    }

    std::function<void(uint32_t index, int reads)> hook_;
    pz::WintabContextBlock block_;
    int reads_ = 0;
};

// Every packet whole (its X and Y written together) and the serial numbers without a gap or a repeat.
bool Consistent(const std::vector<wintab::PACKET>& packets) {
    for (size_t i = 0; i < packets.size(); ++i) {
        const auto& p = packets[i];
        if (p.pkX != p.pkY || p.pkX != static_cast<int32_t>(p.pkSerialNumber) + 1000) return false;
        if (p.pkSerialNumber != packets[0].pkSerialNumber + i) return false;
    }
    return true;
}

TEST(SharedQueueReader, CopiesAQuietQueue) {
    FakeBlock block;
    for (int i = 0; i < 5; ++i) block.Enqueue(1000 + i);
    std::vector<wintab::PACKET> out;
    ASSERT_TRUE(ReadSharedQueue(block, out, 3));
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[4].pkSerialNumber, 4u);
    EXPECT_TRUE(Consistent(out));
}

// The service drops the oldest entry of a full queue and stalls mid-move for a whole try: both counters
// hold and both copies agree, yet the moved entries must not come out, wherever the move stopped.
TEST(SharedQueueReader, RetriesWhileAFullQueueMovesDown) {
    for (uint32_t movedWhenRead : {2u, 10u, 40u, 63u}) {
        FakeBlock block;
        for (int i = 0; i < 64; ++i) block.Enqueue(1000 + i);
        block.hook_ = [&](uint32_t, int reads) {
            if (reads == 1) block.DropOldest(1, movedWhenRead);
            if (reads == 2 * 64 + 1) {  // the move ends during the second try
                block.DropOldest(movedWhenRead, 64);
                block.block_.QueueLength = 63;
                block.Enqueue(1064);
            }
        };
        std::vector<wintab::PACKET> out;
        ASSERT_TRUE(ReadSharedQueue(block, out, 3)) << movedWhenRead;
        EXPECT_TRUE(Consistent(out)) << movedWhenRead;
        EXPECT_EQ(out.size(), 64u);
        EXPECT_EQ(out[0].pkSerialNumber, 1u);
        EXPECT_EQ(block.reads_, 3 * 2 * 64);
    }
}

// The mover overtakes the first copy inside entry 61: entries 0..60 were copied before it moved them,
// entry 61 has its next packet's position under its own serial, and the mover stops before the count
// changes. Counters and serial numbers of that copy look right; only the second copy shows the move.
TEST(SharedQueueReader, RefusesAnEntryHalfOverwritten) {
    FakeBlock block;
    for (int i = 0; i < 64; ++i) block.Enqueue(1000 + i);
    block.hook_ = [&](uint32_t index, int reads) {
        if (reads != 62 || index != 61) return;
        block.DropOldest(1, 62);
        block.block_.PacketQueue[61].Packet.pkX = block.block_.PacketQueue[62].Packet.pkX;
    };
    std::vector<wintab::PACKET> out;
    EXPECT_FALSE(ReadSharedQueue(block, out, 5));
    EXPECT_TRUE(out.empty());
}

TEST(SharedQueueReader, RefusesACopyDuringWhichAPacketArrived) {
    FakeBlock block;
    for (int i = 0; i < 3; ++i) block.Enqueue(1000 + i);
    block.hook_ = [&](uint32_t, int reads) {
        if (reads == 2) block.Enqueue(1003);
    };
    std::vector<wintab::PACKET> out;
    ASSERT_TRUE(ReadSharedQueue(block, out, 2));
    EXPECT_EQ(out.size(), 4u);  // the second try saw the new packet whole
    EXPECT_TRUE(Consistent(out));
}

TEST(SharedQueueReader, RefusesAnImpossibleLength) {
    FakeBlock block;
    block.block_.QueueLength = 65;
    std::vector<wintab::PACKET> out;
    EXPECT_FALSE(ReadSharedQueue(block, out, 2));
}

TEST(PacketTaker, PassesEachPacketOnOnceAcrossReadsAndEmptying) {
    FakeBlock block;
    wt32::PacketTaker taker;
    std::vector<wintab::PACKET> out;
    for (int i = 0; i < 3; ++i) block.Enqueue(1000 + i);
    ASSERT_TRUE(ReadSharedQueue(block, out, 1));
    EXPECT_EQ(taker.TakeNew(out).size(), 3u);
    block.Enqueue(1003);
    ASSERT_TRUE(ReadSharedQueue(block, out, 1));
    const auto fresh = taker.TakeNew(out);
    ASSERT_EQ(fresh.size(), 1u);
    EXPECT_EQ(fresh[0].pkSerialNumber, 3u);
    block.Empty();  // command 48 or a pen entering
    block.Enqueue(1004);
    ASSERT_TRUE(ReadSharedQueue(block, out, 1));
    EXPECT_EQ(taker.TakeNew(out).size(), 1u);
    EXPECT_TRUE(taker.TakeNew(out).empty());
}

// The library never empties the shared queue: once full, the service drops its oldest entry for each new
// one, and every packet still reaches the program by its serial number as long as it reads in time.
TEST(PacketTaker, AFullQueueKeepsDeliveringEveryNewPacketOnce) {
    FakeBlock block;
    wt32::PacketTaker taker;
    std::vector<wintab::PACKET> out;
    uint32_t taken = 0, expectedSerial = 0;
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 50; ++i) block.Enqueue(round * 50 + i);
        ASSERT_TRUE(ReadSharedQueue(block, out, 1));
        for (const wintab::PACKET& p : taker.TakeNew(out)) {
            EXPECT_EQ(p.pkSerialNumber, expectedSerial++);
            ++taken;
        }
    }
    EXPECT_EQ(block.block_.QueueLength, pz::kPacketQueueCapacity);
    EXPECT_EQ(taken, 250u);
}

}  // namespace
