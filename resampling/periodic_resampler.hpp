#pragma once
// Band-limited resampling of one period of a periodic signal at an arbitrary
// step.
//
// Output k is the band-limited period evaluated at the input instant
// first + k * step, read circularly (instants and filter indices wrap modulo
// the period), so a loop of the output stays seamless when the output spans
// whole periods. The interpolating low-pass is a Kaiser-window design on a
// fine grid of `phases` points per input sample; an instant between two grid
// points blends their taps linearly, so every instant is exact rather than
// rounded to a phase. The filter runs in single precision (its rounding lies
// some 60 dB below the stop band); instants are kept in double precision.
// When decimating (step > 1) the cut-off follows the output's Nyquist
// frequency, which removes what would alias. Near a step of one (a clock
// offset), 8, 16 or 32 consecutive outputs take the taps of one grid point,
// each blending them by its own amount, so that the filter runs across the
// outputs in vector registers; the grid is made fine enough for that to keep
// the same error bound.

#include <cstddef>
#include <span>
#include <vector>

#include "common/types.hpp"

namespace dot11b::resampling {

struct ResamplerOptions {
    // Fraction of the lower of the two Nyquist frequencies passed flat, (0, 1).
    double passband = 0.8;
    // Stop-band attenuation in dB, [40, 150].
    double attenuation_db = 80.0;
    // Start of the stop band as a fraction of the lower Nyquist frequency,
    // [1, 2 - passband]. Above 1 for a signal whose content above the pass
    // band may be spoiled: what lies between 1 and this edge folds back above
    // 2 - stopband, so the pass band stays clean and the filter is shorter.
    double stopband = 1.0;

    // Throws ConfigError naming the field, its value and the allowed range.
    void validate() const;
};

class PeriodicResampler {
public:
    // `step`: input samples per output sample, > 0 and finite.
    explicit PeriodicResampler(double step, ResamplerOptions options = {});

    double step() const { return step_; }
    std::size_t taps_per_phase() const { return width_; }
    std::size_t phases() const { return phases_; }

    // out[k] = period at input instant first + k * step (any real `first`,
    // wrapped). Needs a non-empty period.
    void resample(SampleSpan period, double first, std::span<Complex> out) const;

    // Replaces `period` by its first `output_count` outputs from instant 0,
    // the same values as resample() gives. The outputs overwrite the period's
    // own storage where they can (a step of one or more, no more outputs
    // than inputs); otherwise they go to a new buffer.
    void resample_in_place(Samples& period, std::size_t output_count) const;

private:
    double step_;
    std::size_t width_;   // taps per phase, a multiple of 8
    std::size_t phases_;  // grid points per input sample
    // Consecutive outputs that share one grid point's taps (8, 16 or 32, for a
    // step near one); 0: each output has its own.
    std::size_t group_ = 0;
    // Row p holds the taps at fractional delay p / phases_, oldest input
    // first, each tap twice (for the real and the imaginary part); slopes_
    // row p is row p + 1 minus row p, for the linear blend.
    std::vector<float> rows_;
    std::vector<float> slopes_;
};

// `output_count` outputs of `period` from instant `first` at `step`.
Samples resample_periodic(SampleSpan period, double step, std::size_t output_count, double first = 0.0,
                          ResamplerOptions options = {});

}  // namespace dot11b::resampling
