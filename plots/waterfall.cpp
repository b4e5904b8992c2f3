#include "plots/waterfall.hpp"

#include <algorithm>
#include <cmath>

#include "common/dft.hpp"
#include "plots/log_magnitude.hpp"
#include "plots/units.hpp"

namespace dot11b::plots {
namespace {

constexpr double kShortestSnapshot = 10;  // samples

}  // namespace

Waterfall waterfall(SampleSpan iq_wave, double sample_rate_hz, double period_s) {
    const double rate = usable_sample_rate(sample_rate_hz);
    const double period = std::max(period_s > 0 ? period_s : 0, kShortestSnapshot / rate);
    // A snapshot longer than the waveform would only add zeros.
    const double longest = std::max(kShortestSnapshot, static_cast<double>(iq_wave.size()));
    const auto bins = static_cast<std::size_t>(std::round(std::min(period * rate, longest)));
    const std::size_t snapshots = std::max<std::size_t>(1, (iq_wave.size() + bins - 1) / bins);

    // Each snapshot's spectrum is that of the spectrum view: a plain DFT of
    // its samples, no window, so a steady signal reads the same in both views.
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
        plan.execute(block, transformed);
        const std::vector<double> snapshot = reordered_power(transformed);
        power.insert(power.end(), snapshot.begin(), snapshot.end());
    }
    add_power_floor(power);

    Waterfall view;
    view.bins = bins;
    view.snapshots = snapshots;
    view.magnitude_db = decibels_below_peak(power);
    view.z = display_range_db(view.magnitude_db);

    const FrequencyAxis axis = frequency_axis(rate, bins);
    view.frequency = axis.values;
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
