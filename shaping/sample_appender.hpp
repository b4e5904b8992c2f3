#pragma once
// Appends samples to a vector through a small buffer that stays in the L1
// cache. Growing the vector with resize() first writes zeros over the whole
// new range, a pass as costly as writing the samples themselves; push_back()
// updates the vector's end on every store. Here the vector is only ever
// extended by a block copy of already computed samples.

#include <array>
#include <cstddef>

#include "common/types.hpp"

namespace dot11b::shaping {

class SampleAppender {
public:
    explicit SampleAppender(Samples& out) : out_(out) {}
    SampleAppender(const SampleAppender&) = delete;
    SampleAppender& operator=(const SampleAppender&) = delete;

    void push(Complex sample) {
        if (used_ == kChunk) flush();
        chunk_[used_++] = sample;
    }

    // Room for `count` (at most kChunk) samples, to be filled and then committed.
    Complex* space(std::size_t count) {
        if (used_ + count > kChunk) flush();
        return chunk_.data() + used_;
    }
    void commit(std::size_t count) { used_ += count; }

    // Moves what is buffered into the vector; call once at the end.
    void flush() {
        out_.insert(out_.end(), chunk_.begin(), chunk_.begin() + static_cast<std::ptrdiff_t>(used_));
        used_ = 0;
    }

    static constexpr std::size_t kChunk = 512;

private:
    Samples& out_;
    std::array<Complex, kChunk> chunk_;
    std::size_t used_ = 0;
};

}  // namespace dot11b::shaping
