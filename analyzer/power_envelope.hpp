#pragma once
// The power envelope that the burst detector and the receiver's timing share:
// the sample power averaged over 0.5 us, a few chips, so that single chips do
// not count but the ramps of a burst do.

#include <cstddef>
#include <optional>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

// The samples in `seconds` at the rate, rounded, at least one.
std::size_t samples_in(double seconds, double sample_rate_hz);

// The envelope's averaging window: 0.5 us in samples.
std::size_t envelope_window(double sample_rate_hz);

// The first sample that envelope value i averages: i - window / 2, or 0.
inline std::size_t window_start(std::size_t i, std::size_t window) { return i >= window / 2 ? i - window / 2 : 0; }

// The least sum of powers whose mean over `window` samples, as divided,
// reaches `level` (> 0): a comparison per sample instead of a division, with
// the same outcome, as the rounded quotient never falls when the sum grows.
double least_window_sum_reaching(double level, std::size_t window);

// The first sample whose envelope reaches `level`, nothing when none does. The
// envelope is the power averaged over `window` samples centred on each
// sample; the windows of the first samples start at 0 and those of the last
// end with the samples. Its running sums go only as far as that sample's window.
std::optional<std::size_t> first_reaching(SampleSpan samples, std::size_t window, double level);

}  // namespace dot11b::analyzer
