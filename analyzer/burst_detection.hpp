#pragma once
// Finds the bursts of a recording from its power envelope, reading it a block
// at a time.

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

// Fills `out` with samples [first, first + out.size()) of a recording; the
// range always lies inside it. May be called from several threads at once.
using SampleReader = std::function<void(std::size_t first, std::span<Complex> out)>;

// A reader over samples held in memory.
SampleReader reader_of(SampleSpan samples);

struct BurstExtent {
    std::size_t begin = 0;  // first sample, a short margin before the power rises
    std::size_t end = 0;    // one past the last sample, a short margin after it falls
};

struct BurstSearch {
    std::vector<BurstExtent> bursts;
    // Mean power per sample between the bursts (0 when there is no quiet part).
    double noise_power = 0;
    // False when the power never drops far below its peak: the whole recording is
    // then one candidate burst (a looping waveform without idle time, or noise).
    bool quiet_part = false;
    bool silent = true;  // every sample is zero
};

// The envelope is the power averaged over 0.5 us, its floor the lowest power
// averaged over 4 us. A burst is where it stays above the geometric mean of the floor and the
// peak (at most 30 dB below the peak) for 8 us or more, gaps under 2 us
// bridged. A recording of zeros has none. The recording is read in blocks,
// once for its peak and floor, once for the bursts, each time its two halves
// on two threads at once, and between the bursts once more for the power there.
BurstSearch find_bursts(const SampleReader& read, std::size_t sample_count, double sample_rate_hz);
BurstSearch find_bursts(SampleSpan samples, double sample_rate_hz);

}  // namespace dot11b::analyzer
