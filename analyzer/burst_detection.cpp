#include "analyzer/burst_detection.hpp"

#include <algorithm>
#include <cmath>

#include "analyzer/power_envelope.hpp"

namespace dot11b::analyzer {
namespace {

constexpr double kMinBurstSeconds = 8e-6;
constexpr double kBridgedGapSeconds = 2e-6;
constexpr double kMarginSeconds = 1e-6;
// Below this peak-to-floor ratio (10 dB) the recording has no quiet part.
constexpr double kMinDynamicRange = 10;
constexpr double kLowestThreshold = 1e-3;  // -30 dB of the peak
// The idle level is the quietest mean over this time: short enough for the
// shortest interframe space (10 us), long enough that noise alone varies
// by less than 2 dB between such means.
constexpr double kFloorSeconds = 4e-6;

// The lowest mean power over `window` samples, the windows a quarter of one
// apart: the idle level, however small a share of the recording the idle
// time is.
double lowest_mean_power(const std::vector<double>& cumulative, std::size_t window) {
    const std::size_t n = cumulative.size() - 1;
    if (window >= n) return cumulative[n] / static_cast<double>(n);
    double lowest = cumulative[window] - cumulative[0];
    for (std::size_t first = 0; first + window <= n; first += std::max<std::size_t>(1, window / 4)) {
        lowest = std::min(lowest, cumulative[first + window] - cumulative[first]);
    }
    return lowest / static_cast<double>(window);
}

// Mean power of the samples outside every burst.
double power_between(SampleSpan samples, const std::vector<BurstExtent>& bursts) {
    double sum = 0;
    std::size_t count = 0;
    std::size_t from = 0;
    const auto add = [&](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) sum += std::norm(samples[i]);
        count += last - first;
    };
    for (const BurstExtent& burst : bursts) {
        add(from, burst.begin);
        from = burst.end;
    }
    add(from, samples.size());
    return count > 0 ? sum / static_cast<double>(count) : 0;
}

}  // namespace

BurstSearch find_bursts(SampleSpan samples, double sample_rate_hz) {
    BurstSearch search;
    if (samples.empty()) return search;
    const std::size_t window = envelope_window(sample_rate_hz);
    const std::vector<double> cumulative = cumulative_power(samples);
    const std::vector<double> envelope = power_envelope(cumulative, window);
    const double peak = *std::max_element(envelope.begin(), envelope.end());
    if (!(peak > 0) || !std::isfinite(peak)) return search;

    const double floor = lowest_mean_power(cumulative, samples_in(kFloorSeconds, sample_rate_hz));
    if (floor * kMinDynamicRange > peak) {
        search.bursts.push_back({0, samples.size()});
        return search;
    }
    search.quiet_part = true;
    const double threshold = std::max(std::sqrt(floor * peak), peak * kLowestThreshold);

    const std::size_t min_length = samples_in(kMinBurstSeconds, sample_rate_hz);
    const std::size_t bridged_gap = samples_in(kBridgedGapSeconds, sample_rate_hz);
    const std::size_t margin = samples_in(kMarginSeconds, sample_rate_hz);
    std::vector<BurstExtent> runs;
    for (std::size_t i = 0; i < envelope.size();) {
        if (envelope[i] < threshold) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < envelope.size() && envelope[end] >= threshold) ++end;
        if (!runs.empty() && i - runs.back().end < bridged_gap) {
            runs.back().end = end;
        } else {
            runs.push_back({i, end});
        }
        i = end;
    }
    std::size_t previous_end = 0;
    for (const BurstExtent& run : runs) {
        if (run.end - run.begin < min_length) continue;
        const std::size_t begin = std::max(previous_end, run.begin >= margin ? run.begin - margin : 0);
        const std::size_t end = std::min(samples.size(), run.end + margin);
        search.bursts.push_back({begin, end});
        previous_end = end;
    }
    search.noise_power = power_between(samples, search.bursts);
    return search;
}

}  // namespace dot11b::analyzer
