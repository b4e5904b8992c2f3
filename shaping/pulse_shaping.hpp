#pragma once
// Pulse shaping of a chip burst: zero stuffing, filtering, mean removal and
// decimation, giving one period of a looping waveform.
//
// The chips are zero-stuffed by upsample_factor. With no taps each chip is held
// for upsample_factor samples (the hold does not wrap around the end). With taps,
// the stuffed burst is filtered circularly and rotated left by floor(taps / 2),
// as circfilt does. The complex mean of the full-rate period is then removed and
// every decimation-th sample kept, starting with the first.
//
// Throws ConfigError for an upsample_factor or decimation below 1 and for more
// taps than the stuffed burst has samples plus one.

#include <cstddef>
#include <span>

#include "common/types.hpp"

namespace dot11b::shaping {

// Number of samples the shaping of chip_count chips gives.
std::size_t shaped_length(std::size_t chip_count, int upsample_factor, int decimation);

// Polyphase form: only every upsample_factor-th input is non-zero, so each kept
// output costs taps / upsample_factor products, and the dropped outputs are never
// computed. The mean follows from sum(circular convolution) = sum(chips) * sum(taps).
// Over long runs of quarter-turn chips the outputs come from tables (chip_tables.hpp).
Samples shape_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps);

// The same, appended to `out` (which then needs no further copy).
void append_shaped_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps,
                          Samples& out);

}  // namespace dot11b::shaping
