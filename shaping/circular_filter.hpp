#pragma once
// FIR filtering of one period of a looping waveform as a circular convolution,
// so that the filtered period joins its own start without a transient.

#include "common/types.hpp"

namespace dot11b::shaping {

// y[m] = sum_k h[k] * x[(m + floor(H / 2) - k) mod L] for L = x.size(), H = h.size():
// the circular convolution rotated left by floor(H / 2), which removes the delay
// of a symmetric odd-length filter. Throws ConfigError for an empty h or one with
// more than L + 1 taps.
Samples circfilt(SampleSpan x, SampleSpan h);

}  // namespace dot11b::shaping
