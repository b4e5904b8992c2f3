#include "analyzer/ramp_times.hpp"

#include <cstddef>
#include <vector>

namespace dot11b::analyzer {
namespace {

constexpr double kLow = 0.1;
constexpr double kHigh = 0.9;

std::vector<double> three_chip_average(std::span<const double> powers) {
    std::vector<double> smoothed(powers.size());
    for (std::size_t k = 0; k < powers.size(); ++k) {
        const std::size_t first = k > 0 ? k - 1 : 0;
        const std::size_t last = k + 1 < powers.size() ? k + 1 : k;
        double sum = 0;
        for (std::size_t i = first; i <= last; ++i) sum += powers[i];
        smoothed[k] = sum / static_cast<double>(last - first + 1);
    }
    return smoothed;
}

// Where the power passes `level` between chip k and chip k + 1, in chips.
double crossing(const std::vector<double>& p, std::size_t k, double level) {
    const double step = p[k + 1] - p[k];
    return static_cast<double>(k) + (step != 0 ? (level - p[k]) / step : 0.5);
}

std::optional<double> rise_in_chips(const std::vector<double>& p, double frame_power) {
    const double low = kLow * frame_power;
    const double high = kHigh * frame_power;
    std::size_t up = 0;
    while (up < p.size() && p[up] < high) ++up;
    if (up == 0 || up == p.size()) return std::nullopt;
    std::size_t below = up;
    while (below > 0 && p[below - 1] >= low) --below;
    if (below == 0) return std::nullopt;
    return crossing(p, up - 1, high) - crossing(p, below - 1, low);
}

}  // namespace

RampTimes measure_ramps(std::span<const double> chip_powers, double chip_seconds, double frame_power) {
    RampTimes ramps;
    if (!(frame_power > 0)) return ramps;
    std::vector<double> p = three_chip_average(chip_powers);
    if (const auto chips = rise_in_chips(p, frame_power)) ramps.power_on_s = *chips * chip_seconds;
    std::vector<double> reversed(p.rbegin(), p.rend());
    if (const auto chips = rise_in_chips(reversed, frame_power)) ramps.power_down_s = *chips * chip_seconds;
    return ramps;
}

}  // namespace dot11b::analyzer
