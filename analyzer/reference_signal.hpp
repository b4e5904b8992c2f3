#pragma once
// The ideal signal rebuilt from the decided chips: each chip a pulse of the
// reference filter centred on a straight chip-clock line, at the sample rate,
// then read at the received chip instants through the same interpolator as
// the received signal, so that what the interpolation does to the one it does
// to the other.

#include <cstddef>
#include <span>

#include "analyzer/reference_filter.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer {

// Centre of ideal chip j at first + j * period (samples).
struct ChipLine {
    double first = 0;
    double period = 1;
};

struct ReferenceChips {
    Samples chips;            // at positions [from, to)
    double sample_power = 0;  // mean power of the rebuilt signal over the samples they span
};

// The rebuilt signal at samples [begin, end) of the recording, in `out`
// (resized; a buffer used again keeps its memory).
void reference_samples(const PulseTable& pulse, SampleSpan ideal, const ChipLine& line, double begin, double end,
                       Samples& out);

// `scratch` holds the rebuilt signal on return.
ReferenceChips reference_chips(const PulseTable& pulse, SampleSpan ideal, const ChipLine& line,
                               std::span<const double> positions, std::size_t from, std::size_t to, Samples& scratch);

// Chips at either end of `ideal` whose reference needs chips outside it:
// the pulse's reach and the interpolator's, in chips.
std::size_t reference_reach_chips(const PulseTable& pulse, double samples_per_chip);

}  // namespace dot11b::analyzer
