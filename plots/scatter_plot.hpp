#pragma once
// Scatter (constellation) points: every n-th sample from an offset, and the
// limits of the square axes they are drawn in.

#include <vector>

#include "plots/signal_columns.hpp"

namespace dot11b::plots {

// The limit of axes that hold nothing yet: the spacing of doubles at 1.
inline constexpr double kFreshAxesLimit = 2.220446049250313e-16;

struct ScatterPoints {
    std::vector<double> in_phase;    // horizontal
    std::vector<double> quadrature;  // vertical; 0 for a one-column signal
    double limit = 0;                // both axes run from -limit to limit
};

// Samples offset, offset + n, offset + 2n, ... (from 0); axes_limit is the
// limit the axes already have (kFreshAxesLimit, or the plot held underneath).
// Throws ConfigError with the message of the first check that fails.
ScatterPoints scatter_points(const SignalColumns& x, double n, double offset, double axes_limit = kFreshAxesLimit);

}  // namespace dot11b::plots
