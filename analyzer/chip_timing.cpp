#include "analyzer/chip_timing.hpp"

#include <algorithm>
#include <cmath>

#include "analyzer/constants.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kCoarseSteps = 8;   // candidate instants per chip
constexpr double kLoopBandwidth = 0.005;  // cycles per chip
constexpr double kDamping = 1.0;
constexpr double kPowerSmoothing = 1.0 / 64;
// Bounds the normalised error where the power estimate lags a rising ramp.
constexpr double kMaxError = 4;

// Proportional and integral gains of the loop for a timing error detector whose
// output, normalised by the signal power, is about -2 per chip period of lateness.
struct LoopGains {
    double proportional;
    double integral;
};

LoopGains loop_gains(double samples_per_chip) {
    const double theta = kLoopBandwidth / (kDamping + 1 / (4 * kDamping));
    const double denominator = 1 + 2 * kDamping * theta + theta * theta;
    const double detector_gain = 2 / samples_per_chip;
    return {4 * kDamping * theta / denominator / detector_gain, 4 * theta * theta / denominator / detector_gain};
}

}  // namespace

double coarse_chip_instant(const SincInterpolator& signal, double samples_per_chip, double window_start,
                           std::size_t symbols) {
    const std::size_t span = kCoarseSteps * kChipsPerSymbol;
    const std::size_t grid_size = kCoarseSteps * kChipsPerSymbol * (symbols + 1);
    const double step = samples_per_chip / kCoarseSteps;
    Samples grid(grid_size);
    for (std::size_t n = 0; n < grid_size; ++n) grid[n] = signal.at(window_start + static_cast<double>(n) * step);

    std::vector<double> energy(span, 0.0);
    for (std::size_t j = 0; j < span; ++j) {
        for (std::size_t m = 0; m < symbols; ++m) {
            Complex symbol = 0;
            const std::size_t base = j + span * m;
            for (std::size_t i = 0; i < kChipsPerSymbol; ++i) symbol += grid[base + kCoarseSteps * i] * kBarker[i];
            energy[j] += std::norm(symbol);
        }
    }
    const std::size_t best = static_cast<std::size_t>(std::max_element(energy.begin(), energy.end()) - energy.begin());
    const double left = energy[(best + span - 1) % span];
    const double centre = energy[best];
    const double right = energy[(best + 1) % span];
    const double curvature = left - 2 * centre + right;
    const double offset = curvature < 0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
    return window_start + (static_cast<double>(best) + offset) * step;
}

ChipStream track_chips(const SincInterpolator& signal, double samples_per_chip, double first_instant, double end) {
    ChipStream stream;
    if (!(end > first_instant)) return stream;
    const auto expected = static_cast<std::size_t>((end - first_instant) / samples_per_chip) + 2;
    stream.chips.reserve(expected);
    stream.positions.reserve(expected);

    const LoopGains gains = loop_gains(samples_per_chip);
    double period = samples_per_chip;
    double instant = first_instant;
    Complex previous = signal.at(instant);
    double power = std::max(std::norm(previous), 1e-300);
    stream.chips.push_back(previous);
    stream.positions.push_back(instant);
    while (instant + period < end) {
        const Complex middle = signal.at(instant + 0.5 * period);
        const double next = instant + period;
        const Complex current = signal.at(next);
        power += kPowerSmoothing * (std::norm(current) - power);
        // Gardner: the sample between two chips leans towards the later chip when
        // the instants are late; the error is then negative.
        const double raw = power > 0 ? std::real(std::conj(middle) * (previous - current)) / power : 0.0;
        const double error = std::clamp(raw, -kMaxError, kMaxError);
        stream.chips.push_back(current);
        stream.positions.push_back(next);
        period += gains.integral * error;
        period = std::clamp(period, 0.99 * samples_per_chip, 1.01 * samples_per_chip);
        instant = next + gains.proportional * error;
        previous = current;
    }
    return stream;
}

double fitted_chip_period(const std::vector<double>& positions, std::size_t first, std::size_t last) {
    if (last <= first + 1) return 0;
    const double count = static_cast<double>(last - first);
    const double mean_index = (static_cast<double>(first) + static_cast<double>(last - 1)) / 2;
    double mean_position = 0;
    for (std::size_t k = first; k < last; ++k) mean_position += positions[k];
    mean_position /= count;
    double covariance = 0;
    double variance = 0;
    for (std::size_t k = first; k < last; ++k) {
        const double di = static_cast<double>(k) - mean_index;
        covariance += di * (positions[k] - mean_position);
        variance += di * di;
    }
    return covariance / variance;
}

}  // namespace dot11b::analyzer
