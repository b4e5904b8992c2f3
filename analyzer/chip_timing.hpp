#pragma once
// Chip timing recovery at any sample rate, one sample per chip included, and
// for any pulse spectrum: a coarse chip instant from the Barker-despread
// energy, then a timing loop on the Barker symbols of the preamble and header,
// driven by the decided chips, which samples the signal at each chip instant.

#include <cstddef>
#include <vector>

#include "analyzer/sinc_interpolator.hpp"
#include "common/types.hpp"

namespace dot11b::analyzer {

struct ChipStream {
    Samples chips;                  // the signal at each chip instant
    std::vector<double> positions;  // the chip instants, in samples
};

// A chip instant near `window_start` (samples): of the instants 1/8 chip apart
// over one symbol, the one whose Barker-despread symbols over `symbols` symbols
// carry the most energy, refined by a parabola through its neighbours.
double coarse_chip_instant(const SincInterpolator& signal, double samples_per_chip, double window_start,
                           std::size_t symbols);

// Chip instants from `first_instant` (the start of a Barker symbol) up to `end`
// (samples). A second-order loop (2 % of the symbol rate) on the zero-crossing
// timing error of each Barker symbol's decided chips follows a chip clock off
// by tens of ppm; after the Barker symbols (a CCK or PBCC PSDU) the instants go
// on along the straight line those symbols' instants lie on.
ChipStream track_chips(const SincInterpolator& signal, double samples_per_chip, double first_instant, double end);

// Chip clock period (samples) that fits the instants best: the slope of a
// straight line through them.
double fitted_chip_period(const std::vector<double>& positions, std::size_t first, std::size_t last);

}  // namespace dot11b::analyzer
