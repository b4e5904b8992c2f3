#include "plots/iq_time.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "plots/log_magnitude.hpp"
#include "plots/units.hpp"

namespace dot11b::plots {
namespace {

constexpr std::size_t kTestPoints = 100;

double peak_magnitude(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return std::max(std::abs(*low), std::abs(*high));
}

}  // namespace

IqTime iq_time(SampleSpan iq_wave, double sample_rate_hz) {
    const double rate = usable_sample_rate(sample_rate_hz);
    IqTime view;
    if (iq_wave.empty()) {
        view.no_data = true;
        for (const double theta : equal_steps(-2 * std::numbers::pi, 2 * std::numbers::pi, kTestPoints)) {
            view.in_phase.push_back(std::cos(theta));
            view.quadrature.push_back(std::sin(theta));
        }
    } else {
        view.in_phase.reserve(iq_wave.size());
        view.quadrature.reserve(iq_wave.size());
        for (const Complex x : iq_wave) {
            view.in_phase.push_back(x.real());
            view.quadrature.push_back(x.imag());
        }
    }
    const std::size_t points = view.in_phase.size();

    const double peak = std::max(peak_magnitude(view.in_phase), peak_magnitude(view.quadrature));
    // An all-zero waveform still needs a vertical range to draw in.
    view.y = peak > 0 ? AxisRange{-peak, peak} : AxisRange{-1, 1};

    const double period = static_cast<double>(points) / rate;
    const UnitScale units = DetermineTimeUnits(period);
    view.time_units = units.text;
    view.x = {0, period * units.factor};
    view.time = equal_steps(0, view.x.upper, points);
    return view;
}

}  // namespace dot11b::plots
