// The server unmaps a client's block right after it stopped being current, and empties queues while the
// reader fills them: both must wait for a report that is being turned into a packet.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>

#include "pen_pipeline.h"
#include "quiet_port.h"

namespace {

using namespace ktpen;

// Holds the reader inside its first WT_PACKET post, that is in the middle of a report, until released.
class HeldPort : public QuietPort {
  public:
    void Post(PostTarget, uint32_t, uint32_t message, uint32_t, uint32_t) override {
        if (message != wintab::WT_PACKET) return;
        std::unique_lock<std::mutex> lock(mutex_);
        if (held_) return;
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    void WaitUntilHeld() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return held_; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool released_ = false;
};

class Handover : public ::testing::Test {
  protected:
    Handover() : pipeline(port), block(std::make_unique<pz::WintabContextBlock>()) {
        std::memset(block.get(), 0, sizeof *block);
        block->Enabled = 1;
        block->ClientWindow = 0x1234;
        block->Context.lcOptions = wintab::CXO_MESSAGES;
        block->Context.lcOutExtX = 10206;
        block->Context.lcOutExtY = 7422;
        pipeline.SetCurrentContext(block.get());
        pipeline.StartReading();
    }
    // One hovering report in a reader thread; returns once the reader is inside its first packet.
    std::future<void> ReportHeldInsideItsPacket() {
        auto reader = std::async(std::launch::async, [this] {
            uint8_t report[kReportBufferSize] = {0x01, 0x90, 0x10, 0x27, 0x00, 0x10, 0x00, 0x00};
            pipeline.OnReportReceived(report, 8);
        });
        port.WaitUntilHeld();
        return reader;
    }
    // Runs `action` on a thread of its own; true when it is still running after a while.
    template <typename Action>
    bool StillBlockedAfterAWhile(Action action, std::future<void>& done) {
        done = std::async(std::launch::async, action);
        return done.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout;
    }

    HeldPort port;
    PenPipeline pipeline;
    std::unique_ptr<pz::WintabContextBlock> block;
};

TEST_F(Handover, ChangingTheCurrentContextWaitsForTheReportInProgress) {
    auto reader = ReportHeldInsideItsPacket();
    std::future<void> change;
    EXPECT_TRUE(StillBlockedAfterAWhile([this] { pipeline.SetCurrentContext(nullptr); }, change));
    port.Release();
    reader.get();
    change.get();
    EXPECT_EQ(pipeline.CurrentContext(), nullptr);
}

TEST_F(Handover, EmptyingTheQueueCannotBeUndoneByAPacketBeingQueued) {
    auto reader = ReportHeldInsideItsPacket();
    std::future<void> empty;
    EXPECT_TRUE(StillBlockedAfterAWhile([this] { pipeline.EmptyQueue(block.get()); }, empty));
    port.Release();
    reader.get();
    empty.get();
    EXPECT_EQ(block->QueueLength, 0u);
    EXPECT_EQ(block->PacketSerial, 2u) << "the entering packet and the sample's packet";
}

}  // namespace
