#include "shaping/polyphase_filter.hpp"

#include <array>

namespace dot11b::shaping {

Complex sum_of(SampleSpan chips) {
    // Four interleaved partial sums: one running sum waits for every addition.
    std::array<Complex, 4> partial{};
    std::size_t i = 0;
    for (; i + 4 <= chips.size(); i += 4) {
        for (std::size_t k = 0; k < 4; ++k) partial[k] += chips[i + k];
    }
    for (; i < chips.size(); ++i) partial[0] += chips[i];
    return (partial[0] + partial[1]) + (partial[2] + partial[3]);
}

Complex full_rate_mean(Complex chip_sum, double gain, std::size_t chip_count, std::size_t factor) {
    return chip_sum * gain / static_cast<double>(chip_count * factor);
}

PolyphaseFilter::PolyphaseFilter(SampleSpan chips, std::size_t factor, std::size_t step, std::span<const double> taps,
                                 Complex mean)
    : chips_(chips),
      factor_(factor),
      step_(step),
      width_((taps.size() + factor - 1) / factor),
      delay_(taps.size() / 2),
      mean_(mean),
      polyphase_(factor * width_, 0.0) {
    for (std::size_t k = 0; k < taps.size(); ++k) polyphase_[(k % factor) * width_ + k / factor] = taps[k];
}

// Width is a compile-time constant for the usual filters (0: any width) so
// that the inner product unrolls.
template <std::size_t kWidth>
void PolyphaseFilter::append_unrolled(std::size_t first, std::size_t last, SampleAppender& out) const {
    const std::size_t width = kWidth != 0 ? kWidth : width_;
    const std::size_t chip_count = chips_.size();
    const std::size_t position = first * step_ + delay_;
    std::size_t chip = (position / factor_) % chip_count;
    std::size_t phase = position % factor_;
    for (std::size_t i = first; i < last; ++i) {
        const double* h = phase_taps(phase);
        double re = -mean_.real();
        double im = -mean_.imag();
        if (chip + 1 >= width) {
            const Complex* newest = chips_.data() + chip;
            for (std::size_t j = 0; j < width; ++j) {
                const Complex c = *(newest - j);
                re += h[j] * c.real();
                im += h[j] * c.imag();
            }
        } else {
            std::size_t c = chip;
            for (std::size_t j = 0; j < width; ++j) {
                re += h[j] * chips_[c].real();
                im += h[j] * chips_[c].imag();
                c = c == 0 ? chip_count - 1 : c - 1;
            }
        }
        out.push(Complex(re, im));
        phase += step_;
        while (phase >= factor_) {
            phase -= factor_;
            chip = chip + 1 == chip_count ? 0 : chip + 1;
        }
    }
}

void PolyphaseFilter::append(std::size_t first, std::size_t last, SampleAppender& out) const {
    if (first >= last) return;
    switch (width_) {
    case 1: return append_unrolled<1>(first, last, out);
    case 2: return append_unrolled<2>(first, last, out);
    case 3: return append_unrolled<3>(first, last, out);
    case 4: return append_unrolled<4>(first, last, out);
    case 5: return append_unrolled<5>(first, last, out);
    case 6: return append_unrolled<6>(first, last, out);
    default: return append_unrolled<0>(first, last, out);
    }
}

}  // namespace dot11b::shaping
