#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The detector compares window sums with this least sum instead of dividing
// each: it must be exactly the edge of the sums whose quotient reaches the level.
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
