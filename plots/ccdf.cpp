#include "plots/ccdf.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "plots/log_magnitude.hpp"

namespace dot11b::plots {
namespace {

constexpr std::size_t kLevelSteps = 200;
constexpr double kSmallestPercentShown = 0.001;

// Levels of instantaneous power in dB relative to the mean power.
std::vector<double> relative_power_db(SampleSpan wave) {
    std::vector<double> p(wave.size());
    std::transform(wave.begin(), wave.end(), p.begin(), [](Complex x) { return std::norm(x); });
    if (*std::min_element(p.begin(), p.end()) == 0) {
        for (double& v : p) v += 1e-300;
    }
    double total = std::accumulate(p.begin(), p.end(), 0.0);
    if (total == 0) total = 1e-300;
    const double rms_db = 10 * std::log10(total / static_cast<double>(p.size()));
    for (double& v : p) v = 10 * std::log10(v) - rms_db;
    return p;
}

// Complex Gaussian noise has exponentially distributed power; real noise a
// chi-square power of one degree of freedom.
double noise_percent(double level_db, bool real_wave) {
    if (real_wave) return 100 * std::erfc(std::pow(10, level_db / 20) / std::numbers::sqrt2);
    return 100 * std::exp(-std::pow(10, level_db / 10));
}

}  // namespace

Samples ccdf_test_signal() {
    constexpr std::size_t n = 1000;
    const std::vector<double> t1 = equal_steps(-std::numbers::pi, std::numbers::pi, n);
    const std::vector<double> t2 = equal_steps(-10 * std::numbers::pi, 10 * std::numbers::pi, n);
    Samples wave(n);
    for (std::size_t k = 0; k < n; ++k) wave[k] = (1.5 + std::cos(t1[k])) * std::polar(1.0, t2[k]);
    return wave;
}

Ccdf ccdf(SampleSpan iq_wave) {
    const Samples test_signal = iq_wave.empty() ? ccdf_test_signal() : Samples{};
    const SampleSpan wave = iq_wave.empty() ? SampleSpan(test_signal) : iq_wave;

    Ccdf result;
    result.real_wave = std::all_of(wave.begin(), wave.end(), [](Complex x) { return x == std::conj(x); });
    std::vector<double> relative = relative_power_db(wave);
    std::sort(relative.begin(), relative.end());

    double max_x = std::max(20.0, relative.back());
    if (max_x > 20) max_x *= 1.01;
    const double step = max_x / kLevelSteps;
    const auto points = static_cast<double>(relative.size());
    for (std::size_t k = 0; k <= kLevelSteps; ++k) {
        const double level = static_cast<double>(k) * step;
        const auto reaching = relative.end() - std::lower_bound(relative.begin(), relative.end(), level);
        result.level_db.push_back(level);
        result.percent.push_back(static_cast<double>(reaching) * 100 / points);
        result.reference.push_back(noise_percent(level, result.real_wave));
    }

    double y_min = *std::min_element(result.percent.begin(), result.percent.end());
    if (y_min == 0) {
        // The percentages fall with the level, so the last positive one is the smallest.
        const auto positive = std::count_if(result.percent.begin(), result.percent.end(), [](double y) { return y > 0; });
        // No level reached happens when rounding puts every sample a hair below the average.
        y_min = positive > 0 ? result.percent[static_cast<std::size_t>(positive) - 1] : kSmallestPercentShown;
        for (double& y : result.percent) y += 1e-300;
    }
    result.y = {std::min(y_min, kSmallestPercentShown), 100};
    result.x = {0, max_x};
    for (double tick = 0; tick <= max_x; tick += 2) result.x_ticks.push_back(tick);
    return result;
}

}  // namespace dot11b::plots
