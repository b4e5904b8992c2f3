#include "sdr/rate_choice.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/errors.hpp"
#include "common/number_text.hpp"

namespace dot11b::sdr {
namespace {

constexpr double kTolerance = 1.0;  // Hz

// The lowest offered rate of at least `floor`, if any.
std::optional<double> lowest_at_or_above(const std::vector<RateRange>& offered, double floor) {
    std::optional<double> best;
    for (const RateRange& r : offered) {
        if (r.maximum + kTolerance < floor) continue;
        double candidate = r.minimum;
        if (floor > r.minimum) {
            candidate = r.step > 0 ? r.minimum + std::ceil((floor - r.minimum - kTolerance) / r.step) * r.step : floor;
            if (candidate > r.maximum + kTolerance) continue;
        }
        if (!best || candidate < *best) best = candidate;
    }
    return best;
}

double highest(const std::vector<RateRange>& offered) {
    double best = -std::numeric_limits<double>::infinity();
    for (const RateRange& r : offered) best = std::max(best, r.maximum);
    return best;
}

std::string mhz(double rate) { return number_text(rate / 1e6) + " MHz"; }

double checked_request(const std::vector<RateRange>& offered, double requested) {
    if (!(requested >= kMinDeviceRate)) {
        throw ConfigError("--sdr-rate " + number_text(requested) + " Hz is below " + mhz(kMinDeviceRate) +
                          ", which 11 Mchip/s needs; the device offers " + rates_text(offered));
    }
    if (!offers(offered, requested)) {
        throw ConfigError("--sdr-rate " + number_text(requested) + " Hz is not offered by the device; it offers " +
                          rates_text(offered));
    }
    return requested;
}

void require_fast_enough(const std::vector<RateRange>& offered) {
    if (offered.empty() || highest(offered) < kMinDeviceRate - kTolerance) {
        throw ConfigError("the device offers no sample rate of " + mhz(kMinDeviceRate) +
                          " or more, which 11 Mchip/s needs; it offers " + rates_text(offered));
    }
}

}  // namespace

bool offers(const std::vector<RateRange>& offered, double rate) {
    return std::any_of(offered.begin(), offered.end(), [&](const RateRange& r) {
        if (rate < r.minimum - kTolerance || rate > r.maximum + kTolerance) return false;
        if (r.step <= 0) return true;
        const double steps = (rate - r.minimum) / r.step;
        return std::abs(steps - std::round(steps)) * r.step <= kTolerance;
    });
}

RateChoice choose_play_rate(const std::vector<RateRange>& offered, double waveform_rate,
                            std::optional<double> requested) {
    if (requested) {
        const double rate = checked_request(offered, *requested);
        if (rate >= waveform_rate - kTolerance) return {rate, std::nullopt};
        return {rate, "--sdr-rate " + mhz(rate) + " is below the waveform's " + mhz(waveform_rate) +
                          ": the band beyond " + mhz(rate / 2) + " from the carrier is cut"};
    }
    require_fast_enough(offered);
    if (const auto above = lowest_at_or_above(offered, waveform_rate)) return {*above, std::nullopt};
    const double rate = highest(offered);
    return {rate, "the device's highest rate, " + mhz(rate) + ", is below the waveform's " + mhz(waveform_rate) +
                      ": the band beyond " + mhz(rate / 2) + " from the carrier is cut"};
}

RateChoice choose_capture_rate(const std::vector<RateRange>& offered, std::optional<double> requested) {
    if (requested) return {checked_request(offered, *requested), std::nullopt};
    require_fast_enough(offered);
    if (const auto above = lowest_at_or_above(offered, 2 * kMinDeviceRate)) return {*above, std::nullopt};
    return {highest(offered), std::nullopt};
}

std::string rates_text(const std::vector<RateRange>& offered) {
    if (offered.empty()) return "no rate";
    std::string text;
    for (const RateRange& r : offered) {
        if (!text.empty()) text += ", ";
        text += mhz(r.minimum);
        if (r.maximum > r.minimum) {
            text += " to " + mhz(r.maximum);
            if (r.step > 0) text += " in steps of " + number_text(r.step) + " Hz";
        }
    }
    return text;
}

}  // namespace dot11b::sdr
