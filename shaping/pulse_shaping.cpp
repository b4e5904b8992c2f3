#include "shaping/pulse_shaping.hpp"

#include <numeric>
#include <vector>
#include <string>

#include "common/errors.hpp"

namespace dot11b::shaping {
namespace {

void check_shaping(std::size_t chip_count, int upsample_factor, int decimation, std::size_t tap_count) {
    if (upsample_factor < 1) {
        throw ConfigError("dot11b_FRAME: the oversampling factor must be a positive integer, got " +
                          std::to_string(upsample_factor));
    }
    if (decimation < 1) {
        throw ConfigError("dot11b_FRAME: the decimation rate must be a positive integer, got " +
                          std::to_string(decimation));
    }
    const std::size_t samples = chip_count * static_cast<std::size_t>(upsample_factor);
    if (tap_count > samples + 1) {
        throw ConfigError("dot11b_FRAME: filterTaps must be at most the oversampled burst length plus one, " +
                          std::to_string(samples + 1) + ", got a filter of " + std::to_string(tap_count) + " taps");
    }
}

// Polyphase components: phase r holds taps r, r + factor, r + 2 factor, ...,
// padded with zeros to `width` taps each. Output i is full-rate position
// p = i * step + delay of the unrotated circular convolution; only the stuffed
// chips contribute, phase p % factor of the taps meeting chips p / factor,
// p / factor - 1, ... (modulo the burst). Width is a compile-time constant for
// the usual filters (0: any width) so that the inner product unrolls.
template <std::size_t kWidth>
void polyphase_filter(SampleSpan chips, std::size_t factor, std::size_t step, std::span<const double> taps,
                      Complex mean, std::span<Complex> y) {
    const std::size_t width = kWidth != 0 ? kWidth : (taps.size() + factor - 1) / factor;
    std::vector<double> polyphase(factor * width, 0.0);
    for (std::size_t k = 0; k < taps.size(); ++k) polyphase[(k % factor) * width + k / factor] = taps[k];

    const std::size_t chip_count = chips.size();
    const std::size_t delay = taps.size() / 2;
    std::size_t chip = (delay / factor) % chip_count;
    std::size_t phase = delay % factor;
    for (Complex& out : y) {
        const double* h = polyphase.data() + phase * width;
        double re = -mean.real();
        double im = -mean.imag();
        if (chip + 1 >= width) {
            const Complex* newest = chips.data() + chip;
            for (std::size_t j = 0; j < width; ++j) {
                const Complex c = *(newest - j);
                re += h[j] * c.real();
                im += h[j] * c.imag();
            }
        } else {
            std::size_t c = chip;
            for (std::size_t j = 0; j < width; ++j) {
                re += h[j] * chips[c].real();
                im += h[j] * chips[c].imag();
                c = c == 0 ? chip_count - 1 : c - 1;
            }
        }
        out = Complex(re, im);
        phase += step;
        while (phase >= factor) {
            phase -= factor;
            chip = chip + 1 == chip_count ? 0 : chip + 1;
        }
    }
}

}  // namespace

std::size_t shaped_length(std::size_t chip_count, int upsample_factor, int decimation) {
    const std::size_t length = chip_count * static_cast<std::size_t>(upsample_factor);
    const auto step = static_cast<std::size_t>(decimation);
    return (length + step - 1) / step;
}

void append_shaped_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps,
                          Samples& out) {
    check_shaping(chips.size(), upsample_factor, decimation, taps.size());
    const auto factor = static_cast<std::size_t>(upsample_factor);
    const auto step = static_cast<std::size_t>(decimation);
    const std::size_t chip_count = chips.size();
    const std::size_t count = shaped_length(chip_count, upsample_factor, decimation);
    if (count == 0) return;
    // Sized first and written through a pointer: appending element by element
    // makes every store also update the vector's end, which costs more than the filter.
    const std::size_t start = out.size();
    out.resize(start + count);
    Complex* y = out.data() + start;

    // The mean of the full-rate period is known in advance: a circular
    // convolution sums to sum(chips) * sum(taps), the hold to sum(chips) * factor.
    const Complex chip_sum = std::accumulate(chips.begin(), chips.end(), Complex(0));
    const double gain = taps.empty() ? static_cast<double>(factor) : std::accumulate(taps.begin(), taps.end(), 0.0);
    const Complex mean = chip_sum * gain / static_cast<double>(chip_count * factor);

    if (taps.empty()) {
        for (std::size_t i = 0; i < count; ++i) y[i] = chips[i * step / factor] - mean;
        return;
    }

    const std::size_t width = (taps.size() + factor - 1) / factor;
    switch (width) {
    case 1: return polyphase_filter<1>(chips, factor, step, taps, mean, {y, count});
    case 2: return polyphase_filter<2>(chips, factor, step, taps, mean, {y, count});
    case 3: return polyphase_filter<3>(chips, factor, step, taps, mean, {y, count});
    case 4: return polyphase_filter<4>(chips, factor, step, taps, mean, {y, count});
    case 5: return polyphase_filter<5>(chips, factor, step, taps, mean, {y, count});
    case 6: return polyphase_filter<6>(chips, factor, step, taps, mean, {y, count});
    default: return polyphase_filter<0>(chips, factor, step, taps, mean, {y, count});
    }
}

Samples shape_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps) {
    Samples out;
    append_shaped_pulses(chips, upsample_factor, decimation, taps, out);
    return out;
}

}  // namespace dot11b::shaping
