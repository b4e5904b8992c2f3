#include "sdr/loop_plan.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>

#include "common/errors.hpp"
#include "common/number_text.hpp"
#include "resampling/periodic_resampler.hpp"

namespace dot11b::sdr {
namespace {

// Below this fraction of the peak magnitude (-100 dB) a sample counts as silence.
constexpr double kSilence = 1e-5;

// A rate as whole hertz, when it is one.
std::optional<std::int64_t> whole_hertz(double rate) {
    const double rounded = std::round(rate);
    if (std::abs(rate - rounded) > 1e-6 || rounded > 1e15) return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

// The smallest number of periods that spans a whole number of device
// samples, when there is one within kMaxLoopPeriods and kMaxLoopSamples.
std::optional<std::size_t> whole_period_count(std::size_t length, double waveform_rate, double device_rate) {
    const auto fs = whole_hertz(waveform_rate);
    const auto fd = whole_hertz(device_rate);
    if (!fs || !fd) return std::nullopt;
    // Device samples per period: length * p / q with p / q = fd / fs in lowest terms.
    const std::int64_t q = *fs / std::gcd(*fs, *fd);
    const auto periods = static_cast<std::size_t>(q / std::gcd(static_cast<std::int64_t>(length), q));
    const double samples = static_cast<double>(periods * length) * device_rate / waveform_rate;
    if (periods > kMaxLoopPeriods || samples > static_cast<double>(kMaxLoopSamples)) return std::nullopt;
    return periods;
}

// Start and length of the longest run of silent samples, read circularly.
std::pair<std::size_t, std::size_t> longest_silence(SampleSpan period, double peak) {
    const std::size_t n = period.size();
    const double threshold = kSilence * peak;
    std::size_t best_start = 0;
    std::size_t best_length = 0;
    std::size_t run = 0;
    // Two passes around the period find a run that wraps; a run never exceeds n.
    for (std::size_t k = 0; k < 2 * n; ++k) {
        if (std::abs(period[k % n]) <= threshold) {
            run = std::min(run + 1, n);
            if (run > best_length) {
                best_length = run;
                best_start = (k + 1 - run) % n;
            }
        } else {
            run = 0;
        }
    }
    return {best_start, best_length};
}

double peak_magnitude(SampleSpan samples) {
    double peak = 0;
    for (const Complex& s : samples) peak = std::max(peak, std::abs(s));
    return peak;
}

}  // namespace

std::string LoopPlan::description() const {
    const std::string at = " at " + number_text(device_rate / 1e6) + " MHz";
    if (kind == LoopKind::whole_periods) {
        return "the loop holds " + std::to_string(periods) + (periods == 1 ? " period" : " periods") + " of " +
               number_text(samples_per_period) + " samples" + at + ", " + std::to_string(samples.size()) +
               " samples in all";
    }
    return "the loop holds one period of " + std::to_string(samples.size()) + " samples" + at +
           ": the idle interval absorbs the fraction of " + number_text(samples_per_period) + " samples";
}

LoopPlan plan_loop(SampleSpan period, double waveform_rate, double device_rate) {
    if (period.empty()) throw ConfigError("plan_loop: the period holds no samples");
    if (!(waveform_rate > 0 && device_rate > 0 && std::isfinite(waveform_rate) && std::isfinite(device_rate))) {
        throw ConfigError("plan_loop: the sample rates must be above 0 Hz, got " + number_text(waveform_rate) +
                          " and " + number_text(device_rate));
    }
    const double input_peak = peak_magnitude(period);
    if (input_peak == 0) throw ConfigError("plan_loop: the period is silent; there is nothing to play");

    LoopPlan plan;
    plan.device_rate = device_rate;
    const double n = static_cast<double>(period.size());
    plan.samples_per_period = n * device_rate / waveform_rate;
    const double step = waveform_rate / device_rate;

    if (whole_hertz(waveform_rate) && whole_hertz(waveform_rate) == whole_hertz(device_rate)) {
        plan.samples.assign(period.begin(), period.end());
    } else if (const auto periods = whole_period_count(period.size(), waveform_rate, device_rate)) {
        plan.periods = *periods;
        const auto length = static_cast<std::size_t>(std::llround(plan.samples_per_period * static_cast<double>(*periods)));
        plan.samples = resampling::resample_periodic(period, step, length);
    } else {
        plan.kind = LoopKind::idle_absorbs_fraction;
        const resampling::PeriodicResampler resampler(step);
        const auto [start, length] = longest_silence(period, input_peak);
        // The filter reaches half its width to each side of the seam, in input samples.
        const double reach = static_cast<double>(resampler.taps_per_phase()) / 2.0 + 1.0;
        if (static_cast<double>(length) < 2.0 * reach) {
            throw ConfigError("plan_loop: " + number_text(plan.samples_per_period) +
                              " device samples per period is not whole within " + std::to_string(kMaxLoopPeriods) +
                              " periods, and the idle interval (" + std::to_string(length) +
                              " silent samples) is too short to absorb the fraction; at least " +
                              number_text(std::ceil(2.0 * reach)) + " are needed");
        }
        plan.samples.resize(static_cast<std::size_t>(std::llround(plan.samples_per_period)));
        plan.start = static_cast<double>(start) + static_cast<double>(length) / 2.0;
        resampler.resample(period, plan.start, plan.samples);
    }

    plan.scale = 1.0 / peak_magnitude(plan.samples);
    for (Complex& s : plan.samples) s *= plan.scale;
    return plan;
}

}  // namespace dot11b::sdr
