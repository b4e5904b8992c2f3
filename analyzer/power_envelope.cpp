#include "analyzer/power_envelope.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analyzer/complex_product.hpp"

namespace dot11b::analyzer {
namespace {

constexpr double kEnvelopeSeconds = 0.5e-6;

}  // namespace

std::size_t samples_in(double seconds, double sample_rate_hz) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(seconds * sample_rate_hz)));
}

std::size_t envelope_window(double sample_rate_hz) { return samples_in(kEnvelopeSeconds, sample_rate_hz); }

double least_window_sum_reaching(double level, std::size_t window) {
    const auto samples = static_cast<double>(window);
    constexpr double kUp = std::numeric_limits<double>::infinity();
    double sum = level * samples;
    while (sum / samples < level) sum = std::nextafter(sum, kUp);
    while (std::nextafter(sum, -kUp) / samples >= level) sum = std::nextafter(sum, -kUp);
    return sum;
}

std::optional<std::size_t> first_reaching(SampleSpan samples, std::size_t window, double level) {
    const std::size_t n = samples.size();
    std::vector<double> cumulative{0.0};  // element k: the sum of the first k powers
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t first = window_start(i, window);
        const std::size_t last = std::min(n, first + window);
        for (std::size_t k = cumulative.size() - 1; k < last; ++k) {
            cumulative.push_back(cumulative.back() + magnitude_squared(samples[k]));
        }
        if ((cumulative[last] - cumulative[first]) / static_cast<double>(last - first) >= level) return i;
    }
    return std::nullopt;
}

}  // namespace dot11b::analyzer
