#include "shaping/circular_filter.hpp"

#include <algorithm>
#include <string>

#include "common/errors.hpp"

namespace dot11b::shaping {

Samples circfilt(SampleSpan x, SampleSpan h) {
    if (h.empty()) throw ConfigError("circfilt: h must hold at least one tap, got none");
    if (h.size() - 1 > x.size()) {
        throw ConfigError("circfilt: h may hold at most length(x) + 1 = " + std::to_string(x.size() + 1) +
                          " taps, got " + std::to_string(h.size()));
    }
    const std::size_t taps = h.size();
    // With the last taps - 1 samples in front, a plain FIR filter sees the period
    // wrapped around, and its outputs from index taps - 1 on are the circular convolution.
    Samples wrapped(x.end() - static_cast<std::ptrdiff_t>(taps - 1), x.end());
    wrapped.insert(wrapped.end(), x.begin(), x.end());

    Samples y(x.size());
    for (std::size_t m = 0; m < y.size(); ++m) {
        Complex sum = 0;
        for (std::size_t k = 0; k < taps; ++k) sum += h[k] * wrapped[m + taps - 1 - k];
        y[m] = sum;
    }
    std::rotate(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(taps / 2), y.end());
    return y;
}

}  // namespace dot11b::shaping
