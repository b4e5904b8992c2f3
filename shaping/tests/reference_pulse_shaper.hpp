#pragma once
// The direct form of pulse shaping, for the tests to compare the polyphase
// shaper against: the chips zero-stuffed at the full rate, held or filtered
// circularly (circfilt), the mean removed, then every decimation-th sample kept.

#include <algorithm>
#include <numeric>
#include <span>
#include <string>

#include "common/errors.hpp"
#include "common/types.hpp"
#include "shaping/circular_filter.hpp"
#include "shaping/oversampling.hpp"

namespace dot11b::shaping::test {

inline Samples shape_pulses_reference(SampleSpan chips, int upsample_factor, int decimation,
                                      std::span<const double> taps) {
    const std::size_t full_rate = chips.size() * static_cast<std::size_t>(std::max(upsample_factor, 0));
    if (upsample_factor < 1 || decimation < 1 || taps.size() > full_rate + 1) {
        throw ConfigError("reference pulse shaper: factor " + std::to_string(upsample_factor) + ", decimation " +
                          std::to_string(decimation) + ", " + std::to_string(taps.size()) + " taps");
    }
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
    Samples kept;
    for (std::size_t i = 0; i < filtered.size(); i += static_cast<std::size_t>(decimation)) kept.push_back(filtered[i]);
    return kept;
}

}  // namespace dot11b::shaping::test
