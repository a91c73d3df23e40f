#include "context_queue.h"

#include "wintab_constants.h"

namespace wt32 {

bool ContextQueue::Resize(int size) {
    if (size < 1 || static_cast<uint32_t>(size) > kMaxQueueSize) return false;
    capacity_ = static_cast<uint32_t>(size);
    packets_.clear();
    return true;
}

void ContextQueue::Push(const wintab::PACKET& packet) {
    wintab::PACKET queued = packet;
    if (packets_.size() >= capacity_) {
        packets_.pop_front();
        queued.pkStatus |= TPS_QUEUE_ERR;
    }
    packets_.push_back(queued);
}

std::vector<wintab::PACKET> ContextQueue::Peek(uint32_t count) const {
    const size_t n = count < packets_.size() ? count : packets_.size();
    return std::vector<wintab::PACKET>(packets_.begin(), packets_.begin() + n);
}

std::vector<wintab::PACKET> ContextQueue::Take(uint32_t count) {
    std::vector<wintab::PACKET> taken = Peek(count);
    packets_.erase(packets_.begin(), packets_.begin() + taken.size());
    return taken;
}

long ContextQueue::Find(uint32_t serial) const {
    for (size_t i = 0; i < packets_.size(); ++i)
        if (packets_[i].pkSerialNumber == serial) return static_cast<long>(i);
    return -1;
}

bool ContextQueue::TakeSerial(uint32_t serial, wintab::PACKET* out) {
    const long at = Find(serial);
    if (at < 0) return false;
    if (out != nullptr) *out = packets_[at];
    packets_.erase(packets_.begin(), packets_.begin() + at + 1);
    return true;
}

bool ContextQueue::Range(uint32_t first, uint32_t last, uint32_t count, bool remove, std::vector<wintab::PACKET>& out) {
    const long begin = Find(first);
    const long end = Find(last);
    if (begin < 0 || end < begin) return false;
    long stop = end + 1;
    if (stop - begin > static_cast<long>(count)) stop = begin + static_cast<long>(count);
    out.assign(packets_.begin() + begin, packets_.begin() + stop);
    if (remove) packets_.erase(packets_.begin(), packets_.begin() + stop);
    return true;
}

bool ContextQueue::Bounds(uint32_t* oldest, uint32_t* newest) const {
    if (packets_.empty()) return false;
    if (oldest != nullptr) *oldest = packets_.front().pkSerialNumber;
    if (newest != nullptr) *newest = packets_.back().pkSerialNumber;
    return true;
}

}  // namespace wt32
