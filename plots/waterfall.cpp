#include "plots/waterfall.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/dft.hpp"
#include "plots/log_magnitude.hpp"
#include "plots/units.hpp"

namespace dot11b::plots {
namespace {

constexpr double kShortestSnapshot = 10;  // samples

// The periodic Hann window of n points: its sidelobes fall 18 dB an octave, so
// a strong carrier does not hide the levels a few bins away.
std::vector<double> hann_window(std::size_t n) {
    std::vector<double> w(n);
    for (std::size_t m = 0; m < n; ++m) {
        w[m] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(m) / static_cast<double>(n));
    }
    return w;
}

// |X(k)|^2 with the bins in frequency order: -floor(n/2) .. ceil(n/2) - 1 bins.
void append_centred_power(SampleSpan bins, std::vector<double>& power) {
    const std::size_t n = bins.size();
    const std::size_t negative = n / 2;
    for (std::size_t k = n - negative; k < n; ++k) power.push_back(std::norm(bins[k]));
    for (std::size_t k = 0; k < n - negative; ++k) power.push_back(std::norm(bins[k]));
}

}  // namespace

Waterfall waterfall(SampleSpan iq_wave, double sample_rate_hz, double period_s) {
    const double rate = usable_sample_rate(sample_rate_hz);
    const double period = std::max(period_s > 0 ? period_s : 0, kShortestSnapshot / rate);
    // A snapshot longer than the waveform would only add zeros.
    const double longest = std::max(kShortestSnapshot, static_cast<double>(iq_wave.size()));
    const auto bins = static_cast<std::size_t>(std::round(std::min(period * rate, longest)));
    const std::size_t snapshots = std::max<std::size_t>(1, (iq_wave.size() + bins - 1) / bins);

    // Each snapshot is windowed before its transform; the zeros that complete
    // the last one stay zeros.
    const std::vector<double> window = hann_window(bins);
    std::vector<double> power;
    power.reserve(snapshots * bins);
    const DftPlan plan(bins);
    Samples block(bins);
    Samples transformed(bins);
    for (std::size_t s = 0; s < snapshots; ++s) {
        const std::size_t start = std::min(s * bins, iq_wave.size());
        const std::size_t count = std::min(bins, iq_wave.size() - start);
        std::fill(std::copy_n(iq_wave.begin() + static_cast<std::ptrdiff_t>(start), count, block.begin()),
                  block.end(), Complex{});
        for (std::size_t m = 0; m < bins; ++m) block[m] *= window[m];
        plan.execute(block, transformed);
        append_centred_power(transformed, power);
    }
    add_power_floor(power);

    Waterfall view;
    view.bins = bins;
    view.snapshots = snapshots;
    view.magnitude_db = decibels_below_peak(power);
    view.z = display_range_db(view.magnitude_db);

    const FrequencyAxis axis = frequency_axis(rate, bins);
    const double bin_width = rate / static_cast<double>(bins) / axis.units.factor;
    for (std::size_t b = 0; b < bins; ++b) {
        view.frequency.push_back((static_cast<double>(b) - static_cast<double>(bins / 2)) * bin_width);
    }
    view.frequency_units = axis.units.text;
    view.x = axis.range;

    const double snapshot_seconds = static_cast<double>(bins) / rate;
    const UnitScale time_units = DetermineTimeUnits(snapshot_seconds * static_cast<double>(snapshots));
    view.time_units = time_units.text;
    for (std::size_t s = 0; s < snapshots; ++s) {
        view.time.push_back(static_cast<double>(s) * snapshot_seconds * time_units.factor);
    }
    view.y = {0, static_cast<double>(snapshots) * snapshot_seconds * time_units.factor};
    return view;
}

}  // namespace dot11b::plots
