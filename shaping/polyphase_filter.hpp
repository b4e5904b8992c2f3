#pragma once
// The circular pulse-shaping filter in polyphase form, output by output.
//
// The chips are zero-stuffed by `factor`, filtered circularly, rotated left by
// floor(taps / 2) and decimated by `step`, and the full-rate mean is removed.
// Output i is full-rate position p = i * step + delay of the unrotated
// circular convolution. Only the stuffed chips contribute to it: phase
// p % factor of the taps meets chips p / factor, p / factor - 1, ... (modulo
// the burst), so each output costs taps / factor products.

#include <cstddef>
#include <span>
#include <vector>

#include "common/types.hpp"
#include "shaping/sample_appender.hpp"

namespace dot11b::shaping {

// The sum of the chips.
Complex sum_of(SampleSpan chips);

// The mean of the full-rate period, known in advance: a circular convolution
// sums to sum(chips) * sum(taps), the hold to sum(chips) * factor. Needs chips.
Complex full_rate_mean(Complex chip_sum, double gain, std::size_t chip_count, std::size_t factor);

class PolyphaseFilter {
public:
    // `mean` is subtracted from every output. Needs a non-empty burst and
    // taps.size() <= chips.size() * factor + 1.
    PolyphaseFilter(SampleSpan chips, std::size_t factor, std::size_t step, std::span<const double> taps,
                    Complex mean);

    std::size_t factor() const { return factor_; }
    std::size_t step() const { return step_; }
    std::size_t width() const { return width_; }  // taps per phase
    std::size_t delay() const { return delay_; }
    Complex mean() const { return mean_; }
    SampleSpan chips() const { return chips_; }

    // Taps of one phase, newest chip first, padded with zeros to width().
    const double* phase_taps(std::size_t phase) const { return polyphase_.data() + phase * width_; }

    // Outputs first ... last - 1, appended in order.
    void append(std::size_t first, std::size_t last, SampleAppender& out) const;

private:
    template <std::size_t kWidth>
    void append_unrolled(std::size_t first, std::size_t last, SampleAppender& out) const;

    SampleSpan chips_;
    std::size_t factor_;
    std::size_t step_;
    std::size_t width_;
    std::size_t delay_;
    Complex mean_;
    std::vector<double> polyphase_;
};

}  // namespace dot11b::shaping
