// The markers of a retimed period take, at each output, the value of the
// input nearest its instant, whatever their pattern.

#include <gtest/gtest.h>

#include <random>

#include "impairments/apply_impairments.hpp"

namespace dot11b::impairments {
namespace {

// Markers with runs of random lengths (1 to 3000 samples) and a period of noise.
phy::FrameWaveform random_period(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> run(1, 3000);
    std::normal_distribution<double> noise;
    phy::FrameWaveform period;
    for (std::size_t n = 0; n < length; ++n) period.samples.emplace_back(noise(random), noise(random));
    for (Bits* marker : {&period.frame_marker, &period.burst_marker}) {
        std::uint8_t value = 0;
        while (marker->size() < length) {
            marker->insert(marker->end(), std::min(run(random), length - marker->size()), value);
            value ^= 1;
        }
    }
    return period;
}

TEST(ClockOffsetMarkers, EachOutputTakesTheNearestInputAcrossTheSeam) {
    const phy::FrameWaveform x = random_period(200000, 3);
    const std::size_t n = x.samples.size();
    // Irregular values too, so that jumps of the nearest input fall on every
    // place of the copied runs, and some outputs read past the seam.
    for (double ppm : {20.0, -20.0, 1000.0, -1000.0, 0.37, -0.37, 3.1, 613.7, -997.3}) {
        const auto y = apply_impairments({.clock_offset = ppm}, x, 38.5e6);
        const double step = 1.0 + ppm * 1e-6;
        ASSERT_EQ(y.frame_marker.size(), y.samples.size());
        ASSERT_EQ(y.burst_marker.size(), y.samples.size());
        std::size_t wrong = 0;
        for (std::size_t k = 0; k < y.samples.size(); ++k) {
            const std::size_t nearest = static_cast<std::size_t>(std::floor(static_cast<double>(k) * step + 0.5)) % n;
            wrong += y.frame_marker[k] != x.frame_marker[nearest];
            wrong += y.burst_marker[k] != x.burst_marker[nearest];
        }
        EXPECT_EQ(wrong, 0U) << ppm << " ppm";
    }
}

}  // namespace
}  // namespace dot11b::impairments
