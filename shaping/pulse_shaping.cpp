#include "shaping/pulse_shaping.hpp"

#include <numeric>
#include <string>

#include "common/errors.hpp"
#include "shaping/circular_filter.hpp"
#include "shaping/oversampling.hpp"

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

Samples decimate(const Samples& samples, int decimation) {
    const auto step = static_cast<std::size_t>(decimation);
    Samples kept;
    kept.reserve((samples.size() + step - 1) / step);
    for (std::size_t i = 0; i < samples.size(); i += step) kept.push_back(samples[i]);
    return kept;
}

}  // namespace

Samples shape_pulses(SampleSpan chips, int upsample_factor, int decimation, std::span<const double> taps) {
    check_shaping(chips.size(), upsample_factor, decimation, taps.size());
    const auto factor = static_cast<std::size_t>(upsample_factor);
    const auto step = static_cast<std::size_t>(decimation);
    const std::size_t chip_count = chips.size();
    const std::size_t length = chip_count * factor;
    Samples out((length + step - 1) / step);
    if (length == 0) return out;

    const Complex chip_sum = std::accumulate(chips.begin(), chips.end(), Complex(0));
    Complex mean;
    if (taps.empty()) {
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = chips[i * step / factor];
        mean = chip_sum * static_cast<double>(factor) / static_cast<double>(length);
    } else {
        const std::size_t delay = taps.size() / 2;
        for (std::size_t i = 0; i < out.size(); ++i) {
            // Output i is sample i * step + delay of the unrotated circular convolution.
            // Only chip positions of the stuffed input are non-zero, so only the taps
            // k = position % factor + j * factor contribute, tap k meeting chip
            // (position / factor - j) modulo the burst.
            const std::size_t position = i * step + delay;
            std::size_t chip = (position / factor) % chip_count;
            Complex sum = 0;
            for (std::size_t k = position % factor; k < taps.size(); k += factor) {
                sum += taps[k] * chips[chip];
                chip = chip == 0 ? chip_count - 1 : chip - 1;
            }
            out[i] = sum;
        }
        const double tap_sum = std::accumulate(taps.begin(), taps.end(), 0.0);
        mean = chip_sum * tap_sum / static_cast<double>(length);
    }
    for (Complex& sample : out) sample -= mean;
    return out;
}

Samples shape_pulses_reference(SampleSpan chips, int upsample_factor, int decimation,
                               std::span<const double> taps) {
    check_shaping(chips.size(), upsample_factor, decimation, taps.size());
    const Samples samples = upsample(chips, upsample_factor);
    Samples filtered;
    if (taps.empty()) {
        // Full convolution with upsample_factor ones, cut to the input length.
        const auto width = static_cast<std::size_t>(upsample_factor);
        filtered.assign(samples.size(), Complex(0));
        for (std::size_t i = 0; i < samples.size(); ++i) {
            for (std::size_t j = 0; j < width && j <= i; ++j) filtered[i] += samples[i - j];
        }
    } else {
        filtered = circfilt(samples, Samples(taps.begin(), taps.end()));
    }
    if (!filtered.empty()) {
        const Complex mean =
            std::accumulate(filtered.begin(), filtered.end(), Complex(0)) / static_cast<double>(filtered.size());
        for (Complex& sample : filtered) sample -= mean;
    }
    return decimate(filtered, decimation);
}

}  // namespace dot11b::shaping
