#pragma once
// Finds the bursts of a recording from its power envelope.

#include <cstddef>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

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
};

// The envelope is the power averaged over 0.5 us, its floor the lowest power
// averaged over 4 us. A burst is where it stays above the geometric mean of the floor and the
// peak (at most 30 dB below the peak) for 8 us or more, gaps under 2 us
// bridged. A recording of zeros has none.
BurstSearch find_bursts(SampleSpan samples, double sample_rate_hz);

}  // namespace dot11b::analyzer
