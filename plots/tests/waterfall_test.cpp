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

Samples tone(std::size_t n, double frequency_hz, double rate_hz, double amplitude = 1) {
    Samples x(n);
    for (std::size_t m = 0; m < n; ++m) {
        x[m] = std::polar(amplitude, 2 * std::numbers::pi * frequency_hz * double(m) / rate_hz);
    }
    return x;
}

std::vector<double> row(const Waterfall& view, std::size_t s) {
    const auto first = view.magnitude_db.begin() + long(s * view.bins);
    return {first, first + long(view.bins)};
}

// The frequency, in the view's units, of the strongest bin of one snapshot.
double peak_frequency(const Waterfall& view, std::size_t s) {
    const auto levels = row(view, s);
    return view.frequency[std::size_t(std::max_element(levels.begin(), levels.end()) - levels.begin())];
}

TEST(Waterfall, ToneLandsOnItsFrequency) {
    struct Case {
        std::size_t bins;
        double rate;
        double tone;  // Hz
        double shown;  // MHz
    };
    const Case cases[] = {
        {10, 10e6, 0, 0},        {10, 10e6, 2e6, 2},      {10, 10e6, -3e6, -3},  {10, 10e6, -5e6, -5},
        {11, 11e6, 5e6, 5},      {11, 11e6, -5e6, -5},    {256, 11e6, 0, 0},     {256, 11e6, 11e6 * 37 / 256, 11.0 * 37 / 256},
        {256, 11e6, -11e6 * 100 / 256, -11.0 * 100 / 256},
    };
    for (const Case& c : cases) {
        const Waterfall view = waterfall(tone(c.bins, c.tone, c.rate), c.rate, double(c.bins) / c.rate);
        ASSERT_EQ(view.bins, c.bins);
        EXPECT_EQ(view.frequency_units, "MHz");
        EXPECT_NEAR(peak_frequency(view, 0), c.shown, 1e-9) << c.bins << " bins, " << c.tone << " Hz";
        EXPECT_NEAR(view.frequency[1] - view.frequency[0], c.rate / 1e6 / double(c.bins), 1e-12);
    }
}

TEST(Waterfall, WindowKeepsLeakageFarBelowTheTone) {
    // Off a bin centre the leakage of an unwindowed transform stays near -35 dB
    // across the band; a Hann window brings it below -80 dB beyond 20 bins.
    const std::size_t n = 256;
    for (const double offset : {0.0, 0.25, 0.5}) {
        const double bin = 40 + offset;
        const Waterfall view = waterfall(tone(n, 1e6 * bin / n, 1e6), 1e6, double(n) / 1e6);
        const auto levels = row(view, 0);
        const auto peak = std::max_element(levels.begin(), levels.end()) - levels.begin();
        double leakage = -1000;
        for (std::size_t b = 0; b < n; ++b) {
            if (std::abs(long(b) - peak) > 20) leakage = std::max(leakage, levels[b]);
        }
        EXPECT_LT(leakage, -80) << "tone at bin " << bin;
    }
}

TEST(Waterfall, EachSnapshotShowsItsOwnSpectrumBelowTheOverallPeak) {
    // 3 snapshots of 10 samples at 10 MHz: silence, a tone at +2 MHz, then a
    // constant at half the amplitude (6 dB lower).
    Samples x(30);
    const Samples loud = tone(10, 2e6, 10e6);
    std::copy(loud.begin(), loud.end(), x.begin() + 10);
    std::fill(x.begin() + 20, x.end(), Complex(0.5, 0));
    const Waterfall view = waterfall(x, 10e6, 1e-6);
    ASSERT_EQ(view.bins, 10U);
    EXPECT_EQ(view.time_units, "uS");
    EXPECT_EQ(view.time, (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(view.y, (AxisRange{0, 3}));
    EXPECT_EQ(peak_frequency(view, 1), 2);
    EXPECT_EQ(peak_frequency(view, 2), 0);
    const auto constant = row(view, 2);
    EXPECT_NEAR(*std::max_element(constant.begin(), constant.end()), 20 * std::log10(0.5), 1e-9);
    EXPECT_EQ(view.z, (AxisRange{-100, 0}));
    const auto silence = row(view, 0);
    EXPECT_LT(*std::max_element(silence.begin(), silence.end()), -100);
}

}  // namespace
}  // namespace dot11b::plots
