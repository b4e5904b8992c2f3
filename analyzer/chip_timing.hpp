#pragma once
// Chip timing recovery at any sample rate: a coarse chip instant from the
// Barker-despread energy, then a Gardner timing loop that follows the chip
// clock through the burst and samples the signal at each chip instant.

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

// Chip instants from `first_instant` up to `end` (samples), tracked by a
// second-order loop on the Gardner timing error (0.5 % of the chip rate loop
// bandwidth), which follows a chip clock off by tens of ppm.
ChipStream track_chips(const SincInterpolator& signal, double samples_per_chip, double first_instant, double end);

// Chip clock period (samples) that fits the instants best: the slope of a
// straight line through them.
double fitted_chip_period(const std::vector<double>& positions, std::size_t first, std::size_t last);

}  // namespace dot11b::analyzer
