#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "plots/waterfall.hpp"

namespace dot11b::plots {
namespace {

TEST(Waterfall, SnapshotsOfOnePeriodPaddedWithZeros) {
    struct Case {
        std::size_t samples;
        double rate;
        double period;
        std::size_t bins;
        std::size_t snapshots;
    };
    const Case cases[] = {
        {25, 1e6, 10e-6, 10, 3},   // ten samples a snapshot, the third half zeros
        {25, 1e6, 0, 10, 3},       // no period: ten samples
        {25, 1e6, 2e-6, 10, 3},    // below ten samples: ten
        {25, 1e6, 1, 25, 1},       // longer than the waveform: the waveform
        {40, 1e6, 20e-6, 20, 2},
        {0, 1e6, 10e-6, 10, 1},    // nothing: one snapshot of zeros
        {30, -5, 0, 10, 3},        // no rate: 1 Hz
    };
    for (const Case& c : cases) {
        const Waterfall view = waterfall(Samples(c.samples, Complex(1, 0)), c.rate, c.period);
        EXPECT_EQ(view.bins, c.bins) << c.samples << " " << c.period;
        EXPECT_EQ(view.snapshots, c.snapshots) << c.samples << " " << c.period;
        EXPECT_EQ(view.magnitude_db.size(), c.bins * c.snapshots);
        EXPECT_EQ(view.time.size(), c.snapshots);
        EXPECT_EQ(view.frequency.size(), c.bins);
    }
}

TEST(Waterfall, EachSnapshotShowsItsOwnSpectrumBelowTheOverallPeak) {
    // 3 snapshots of 10 samples at 10 MHz: silence, a tone at +2 MHz (bin 2),
    // then a constant at half the amplitude (bin 0, 6 dB lower).
    Samples x(30);
    for (std::size_t m = 0; m < 10; ++m) {
        x[10 + m] = std::polar(1.0, 2 * std::numbers::pi * 2 * double(m) / 10);
        x[20 + m] = 0.5;
    }
    const Waterfall view = waterfall(x, 10e6, 1e-6);
    ASSERT_EQ(view.bins, 10U);
    EXPECT_EQ(view.frequency_units, "MHz");
    EXPECT_EQ(view.time_units, "uS");
    EXPECT_EQ(view.time, (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(view.y, (AxisRange{0, 3}));
    const auto row = [&](std::size_t s) {
        return std::vector<double>(view.magnitude_db.begin() + long(s * 10), view.magnitude_db.begin() + long(s * 10 + 10));
    };
    // Order of the ten bins: 4 5 6 7 8 9 0 1 2 3, so bin 2 is at position 8 and bin 0 at 6.
    const auto tone = row(1);
    EXPECT_EQ(std::max_element(tone.begin(), tone.end()) - tone.begin(), 8);
    EXPECT_NEAR(tone[8], 0, 1e-9);
    const auto constant = row(2);
    EXPECT_EQ(std::max_element(constant.begin(), constant.end()) - constant.begin(), 6);
    EXPECT_NEAR(constant[6], 20 * std::log10(0.5), 1e-9);
    EXPECT_EQ(view.z, (AxisRange{-100, 0}));
    const auto silence = row(0);
    EXPECT_LT(*std::max_element(silence.begin(), silence.end()), -100);
}

}  // namespace
}  // namespace dot11b::plots
