#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <optional>
#include <utility>
#include <vector>

#include "analyzer/burst_detection.hpp"
#include "analyzer/power_envelope.hpp"
#include "app/calculation.hpp"

namespace dot11b::analyzer {
namespace {

struct Frame {
    Samples samples;
    std::size_t burst = 0;  // samples the generator marks as burst, from the first
    double sample_rate_hz = 0;
};

Frame frame_with(std::size_t octets, std::size_t idle_samples) {
    app::FormatParameters p;
    p.rate = phy::DataRate::Mbps1;
    p.data_source = mac::PayloadSource::Pn9;
    p.data_length = octets;
    p.mac_header.active = true;
    p.fcs.active = true;
    p.idle_samples = idle_samples;
    app::refresh_derived_fields(p);
    const app::Calculation c = app::calculate(p);
    const auto& marker = c.frame.burst_marker;
    return {c.frame.samples, static_cast<std::size_t>(std::count(marker.begin(), marker.end(), 1)),
            app::kChipRate * p.oversampling};
}

// The burst ends where the generator's burst marker ends, give or take the
// 1 us margin and half the 0.5 us power average, whether the idle time is
// half the recording or a fraction of a percent.
TEST(BurstDetection, TheBurstEndIsFoundWhateverTheShareOfIdleTime) {
    struct Case {
        std::size_t octets;
        std::size_t idle_samples;
    };
    // The largest frame with the default idle interval: 3850 idle samples, 0.5 %.
    for (const Case c : {Case{app::kMaxDataLength, 3850}, Case{1250, 3850}, Case{100, 3850}, Case{100, 100000}}) {
        const Frame f = frame_with(c.octets, c.idle_samples);
        const BurstSearch search = find_bursts(f.samples, f.sample_rate_hz);
        ASSERT_EQ(search.bursts.size(), 1u) << c.octets << " octets";
        const auto margin = static_cast<std::size_t>(1.25e-6 * f.sample_rate_hz + 0.5);
        EXPECT_EQ(search.bursts[0].begin, 0u) << c.octets << " octets";
        EXPECT_GE(search.bursts[0].end, f.burst - margin) << c.octets << " octets";
        EXPECT_LE(search.bursts[0].end, f.burst + margin) << c.octets << " octets";
        EXPECT_TRUE(search.quiet_part) << c.octets << " octets";
    }
}

// A recording of many blocks holds many bursts: each is found once, where
// the generator put it, wherever the recording starts (a burst may lie
// across any block, or across the middle of the recording).
TEST(BurstDetection, EveryBurstOfALongRecordingIsFoundOnceWhereItIs) {
    const Frame f = frame_with(60, 2000);
    const std::size_t period = f.samples.size();
    const auto margin = static_cast<std::size_t>(1.25e-6 * f.sample_rate_hz + 0.5);
    for (const std::size_t start : {std::size_t{0}, period / 3, period - 1000}) {
        Samples recording;
        for (int k = 0; k < 40; ++k) recording.insert(recording.end(), f.samples.begin(), f.samples.end());
        recording.erase(recording.begin(), recording.begin() + static_cast<std::ptrdiff_t>(start));
        const BurstSearch search = find_bursts(recording, f.sample_rate_hz);
        // Bursts begin at k * period - start; the first is cut when start > 0.
        std::vector<std::size_t> begins;
        for (std::size_t k = start > 0 ? 1 : 0; k * period - start + f.burst <= recording.size(); ++k) {
            begins.push_back(k * period - start);
        }
        const std::size_t cut = start > 0 && start < f.burst ? 1 : 0;  // the first burst, cut by the start
        ASSERT_EQ(search.bursts.size(), begins.size() + cut) << "start " << start;
        for (std::size_t k = 0; k < begins.size(); ++k) {
            const BurstExtent& b = search.bursts[k + cut];
            EXPECT_LE(b.begin, begins[k]) << "start " << start << ", burst " << k;
            EXPECT_GE(b.begin + margin, begins[k]) << "start " << start << ", burst " << k;
            EXPECT_GE(b.end + margin, begins[k] + f.burst) << "start " << start << ", burst " << k;
            EXPECT_LE(b.end, begins[k] + f.burst + margin) << "start " << start << ", burst " << k;
        }
    }
}

// The detector compares window sums with this least sum instead of dividing
// each: it must be exactly the edge of the sums whose quotient reaches the level.
TEST(BurstDetection, TheFirstSampleReachingALevelIsThatOfTheWindowedMean) {
    // Power 0, then a ramp over 20 samples to 4, held; windows of 11 samples,
    // shortened at the ends, so that a level only the last samples reach
    // shows the shortened windows at work.
    Samples x(300);
    for (std::size_t n = 100; n < x.size(); ++n) x[n] = std::min(1.0, static_cast<double>(n - 99) / 20) * 2;
    x[299] = 10;
    const std::size_t window = 11;
    const auto direct = [&](double level) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < x.size(); ++i) {
            const std::size_t first = window_start(i, window), last = std::min(x.size(), first + window);
            double sum = 0;
            for (std::size_t k = first; k < last; ++k) sum += std::norm(x[k]);
            if (sum / static_cast<double>(last - first) >= level) return i;
        }
        return std::nullopt;
    };
    for (const double level : {0.0, 1e-3, 0.5, 2.0, 3.99, 5.0, 16.0, 30.0, 200.0}) {
        EXPECT_EQ(first_reaching(x, window, level), direct(level)) << level;
    }
    EXPECT_EQ(first_reaching({}, window, 0.0), std::nullopt);
}

TEST(BurstDetection, TheLeastWindowSumIsTheEdgeOfTheDividedLevel) {
    const std::vector<std::pair<double, std::size_t>> cases = {
        {0.1, 11}, {1.0 / 3, 3}, {2.5e-7, 77}, {123.456, 7}, {1e-300, 22}, {0.7, 1}, {0.3, 39}};
    for (const auto& [level, window] : cases) {
        const double w = static_cast<double>(window);
        const double sum = least_window_sum_reaching(level, window);
        EXPECT_GE(sum / w, level) << level << " " << window;
        EXPECT_LT(std::nextafter(sum, 0.0) / w, level) << level << " " << window;
    }
}

}  // namespace
}  // namespace dot11b::analyzer
