#pragma once
// Pulse-shaping FIR designs: root raised cosine and Gaussian.
//
// Both place their taps on the grid k / oversampling symbols, k running from
// -(filter_taps - 1) / 2 in steps of 1 up to at most (filter_taps - 1) / 2.
// filter_taps may be non-integer (a length in symbols times a fractional
// oversampling ratio); the grid then holds floor(filter_taps - 1) + 1 points,
// e.g. 24.5 gives the 24 points -11.75 ... 11.25.

#include <vector>

namespace dot11b::shaping {

// Root raised cosine with roll-off `factor` (alpha > 0), normalised to unit DC
// gain (the taps sum to 1). The removable singularities at t = 0 and
// t = +-1 / (4 alpha) take their limit values.
// Throws ConfigError for filter_taps outside [1, kMaxFilterTaps] or a
// non-positive or non-finite factor or oversampling.
std::vector<double> root_cosine_taps(double filter_taps, double factor, double oversampling);

// A one-symbol rectangular pulse convolved with a Gaussian of bandwidth-time
// product `factor` (BT > 0), scaled by 2 and not normalised: the taps lie
// between 0 and 2 and approach 2 at the centre for a wide band. Throws ConfigError like root_cosine_taps.
std::vector<double> gaussian_taps(double filter_taps, double factor, double oversampling);

inline constexpr double kMaxFilterTaps = 16777216;  // 2^24

}  // namespace dot11b::shaping
