// Reads a fuzzer's bytes as a sequence of small values; past the end every value is 0.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return offset_ >= size_; }

    template <typename T>
    T Take() {
        T value{};
        const size_t count = offset_ < size_ ? std::min(sizeof(T), size_ - offset_) : 0;
        if (count != 0) std::memcpy(&value, data_ + offset_, count);
        offset_ += sizeof(T);
        return value;
    }

    // Up to `count` bytes into `out`; returns how many were there.
    size_t TakeBytes(uint8_t* out, size_t count) {
        const size_t available = offset_ < size_ ? std::min(count, size_ - offset_) : 0;
        if (available != 0) std::memcpy(out, data_ + offset_, available);
        offset_ += count;
        return available;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

// Stops the run with a crash the fuzzer reports, in both the fuzzing and the corpus-replay builds.
inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace fuzz
