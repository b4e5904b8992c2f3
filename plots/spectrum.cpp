#include "plots/spectrum.hpp"

#include <array>

#include "common/dft.hpp"
#include "plots/log_magnitude.hpp"

namespace dot11b::plots {
namespace {

// Shown for an empty waveform, as magnitudes (not transformed).
constexpr std::array<double, 10> kTestShape = {0.001, 0.01, 0.1, 0.5, 1, 1, 0.5, 0.1, 0.01, 0.001};

}  // namespace

Spectrum magnitude_spectrum(SampleSpan iq_wave, double sample_rate_hz) {
    const double rate = usable_sample_rate(sample_rate_hz);
    std::vector<double> power;
    if (iq_wave.empty()) {
        for (const double v : kTestShape) power.push_back(v * v);
    } else {
        power = reordered_power(dft(iq_wave));
    }
    add_power_floor(power);

    Spectrum spectrum;
    spectrum.magnitude_db = decibels_below_peak(power);
    spectrum.y = display_range_db(spectrum.magnitude_db);
    FrequencyAxis axis = frequency_axis(rate, power.size());
    spectrum.frequency = std::move(axis.values);
    spectrum.frequency_units = axis.units.text;
    spectrum.x = axis.range;
    return spectrum;
}

}  // namespace dot11b::plots
