#include "plots/log_magnitude.hpp"

#include <algorithm>
#include <cmath>

namespace dot11b::plots {

std::vector<double> reordered_power(SampleSpan bins) {
    const std::size_t n = bins.size();
    std::vector<double> power;
    power.reserve(n);
    // h = round(n/2) with halves rounded away from zero; the first bin shown is h - 1 from 0.
    const std::size_t first = n == 0 ? 0 : (n + 1) / 2 - 1;
    for (std::size_t k = first; k < n; ++k) power.push_back(std::norm(bins[k]));
    for (std::size_t k = 0; k < first; ++k) power.push_back(std::norm(bins[k]));
    return power;
}

void add_power_floor(std::span<double> power) {
    if (power.empty() || *std::min_element(power.begin(), power.end()) != 0) return;
    const double peak = *std::max_element(power.begin(), power.end());
    const double lift = peak != 0 ? 1e-20 * peak : 1e-20;
    for (double& p : power) p += lift;
}

std::vector<double> decibels_below_peak(std::span<const double> power) {
    std::vector<double> decibels(power.size());
    std::transform(power.begin(), power.end(), decibels.begin(), [](double p) { return 10 * std::log10(p); });
    if (decibels.empty()) return decibels;
    const double peak = *std::max_element(decibels.begin(), decibels.end());
    for (double& d : decibels) d -= peak;
    return decibels;
}

AxisRange display_range_db(std::span<const double> decibels) {
    const auto [low, high] = std::minmax_element(decibels.begin(), decibels.end());
    const double top = 10 * std::ceil(*high / 10);
    double bottom = std::max(10 * std::floor(*low / 10), top - 100);
    if (bottom == top) bottom = top - 10;
    return {bottom, top};
}

FrequencyAxis frequency_axis(double sample_rate_hz, std::size_t points) {
    UnitScale units = DetermineFrequencyUnits(sample_rate_hz);
    const double f_max = sample_rate_hz / (2 * units.factor);
    return {equal_steps(-f_max, f_max, points), std::move(units), {-f_max, f_max}};
}

double usable_sample_rate(double sample_rate_hz) {
    return sample_rate_hz > 0 && std::isfinite(sample_rate_hz) ? sample_rate_hz : 1;
}

std::vector<double> equal_steps(double first, double last, std::size_t points) {
    std::vector<double> values(points);
    for (std::size_t k = 0; k + 1 < points; ++k) {
        values[k] = first + (last - first) * static_cast<double>(k) / static_cast<double>(points - 1);
    }
    if (points > 0) values.back() = last;
    return values;
}

}  // namespace dot11b::plots
