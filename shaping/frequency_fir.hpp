#pragma once
// FIR designs from a sampled complex frequency response.

#include <span>

#include "common/types.hpp"

namespace dot11b::shaping {

// Least-squares fit of `taps` complex taps h at positions n = -(taps-1)/2 ... (taps-1)/2
// whose response sum_i h[i] * exp(-j 2 pi f n[i] / sample_rate) matches the conjugate
// of `response` at each frequency f (in Hz) of `frequencies`. Throws ConfigError for
// sizes that differ, no points, non-finite points, taps not odd and above 1, or a
// sample rate not above twice the highest frequency.
Samples freq2fir(int taps, std::span<const double> frequencies, SampleSpan response, double sample_rate);

// Taps that approximate the inverse of `response` given at `frequencies`: the band
// is centred on 0 Hz and cut to +-sample_rate/2, resampled linearly onto 5000
// equally spaced points, inverted and fitted by freq2fir. `order` becomes the odd
// tap count 2 * floor(max(3, order) / 2) + 1 (4 gives 5, 1 gives 3).
// Throws ConfigError for an order above kMaxRealFirOrder, sizes that differ,
// a sample rate not above 0, non-finite points, fewer than two distinct frequencies
// within the band, or a response that is zero somewhere in the band.
Samples create_real_fir(double order, std::span<const double> frequencies, SampleSpan response,
                        double sample_rate);

// The fit has 5000 frequency points; more taps than that leave it underdetermined.
inline constexpr double kMaxRealFirOrder = 4999;

}  // namespace dot11b::shaping
