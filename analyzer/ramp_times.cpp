#include "analyzer/ramp_times.hpp"

#include <cstddef>

namespace dot11b::analyzer {
namespace {

constexpr double kLow = 0.1;
constexpr double kHigh = 0.9;

// The powers averaged over three chips (two at the ends), read from either
// end: the crossings lie near the ends, so only the chips up to them are
// averaged.
class SmoothedPowers {
public:
    SmoothedPowers(std::span<const double> powers, bool from_the_end) : powers_(powers), reversed_(from_the_end) {}
    std::size_t size() const { return powers_.size(); }
    double operator[](std::size_t k) const {
        const std::size_t at = reversed_ ? powers_.size() - 1 - k : k;
        const std::size_t first = at > 0 ? at - 1 : 0;
        const std::size_t last = at + 1 < powers_.size() ? at + 1 : at;
        double sum = 0;
        for (std::size_t i = first; i <= last; ++i) sum += powers_[i];
        return sum / static_cast<double>(last - first + 1);
    }

private:
    std::span<const double> powers_;
    bool reversed_;
};

// Where the power passes `level` between chip k and chip k + 1, in chips.
double crossing(const SmoothedPowers& p, std::size_t k, double level) {
    const double step = p[k + 1] - p[k];
    return static_cast<double>(k) + (step != 0 ? (level - p[k]) / step : 0.5);
}

std::optional<double> rise_in_chips(const SmoothedPowers& p, double frame_power) {
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
    if (const auto chips = rise_in_chips(SmoothedPowers(chip_powers, false), frame_power)) {
        ramps.power_on_s = *chips * chip_seconds;
    }
    if (const auto chips = rise_in_chips(SmoothedPowers(chip_powers, true), frame_power)) {
        ramps.power_down_s = *chips * chip_seconds;
    }
    return ramps;
}

}  // namespace dot11b::analyzer
