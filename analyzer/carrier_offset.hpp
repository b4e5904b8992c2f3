#pragma once
// Carrier frequency offset: estimated from the phase of the received symbols or
// chips against their ideal values, and removed.

#include <cstddef>
#include <span>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

// The mean phase turn between consecutive elements of received x conj(ideal),
// `spacing_seconds` apart, as a frequency: unambiguous within +-1 / (2 spacing)
// (+-500 kHz for 1 us symbols).
double frequency_from_turns(SampleSpan received, SampleSpan ideal, double spacing_seconds);

struct PhaseLine {
    double frequency_hz = 0;
    double phase_at_zero = 0;  // radians, at time 0
};

// The straight line through the unwrapped phase of received x conj(ideal) against
// time (seconds), each point averaged over `block` elements: the residual
// frequency and phase of chips whose coarse offset is already removed.
PhaseLine fit_phase_line(SampleSpan received, SampleSpan ideal, std::span<const double> seconds, std::size_t block);

// Multiplies each sample by exp(-j (2 pi f t + phase)).
void remove_phase_line(std::span<Complex> samples, std::span<const double> seconds, const PhaseLine& line);

// Chip instants in seconds from their positions in samples.
std::vector<double> instants_in_seconds(std::span<const double> positions, double sample_rate_hz);

}  // namespace dot11b::analyzer
