#pragma once
// Band-limited interpolation of a sample sequence at any real position: a
// Kaiser-windowed sinc of 16 taps, tabulated at 1/256 of a sample.

#include "common/types.hpp"

namespace dot11b::analyzer {

class SincInterpolator {
public:
    explicit SincInterpolator(SampleSpan samples) : samples_(samples) {}

    // The signal at `position` (in samples from the first one); zero outside the
    // recording.
    Complex at(double position) const;
    // out[k] = at(positions[k] - offset) for every k, in one call.
    void at(std::span<const double> positions, double offset, std::span<Complex> out) const;

    SampleSpan samples() const { return samples_; }

private:
    SampleSpan samples_;
};

}  // namespace dot11b::analyzer
