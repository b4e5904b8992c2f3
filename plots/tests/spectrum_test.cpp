#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "plots/spectrum.hpp"
#include "plots/units.hpp"

namespace dot11b::plots {
namespace {

// The transform written out as its defining sum.
Samples naive_dft(const Samples& x) {
    const auto n = static_cast<double>(x.size());
    Samples out(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
        for (std::size_t m = 0; m < x.size(); ++m) {
            out[k] += x[m] * std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(k * m) / n);
        }
    }
    return out;
}

Samples random_samples(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss;
    Samples x(n);
    for (auto& v : x) v = {gauss(random), gauss(random)};
    return x;
}

TEST(Units, FollowThePowerOfAThousand) {
    struct Case {
        double value;
        const char* frequency;
        double divider;
    };
    for (const Case& c : {Case{999, "Hz", 1}, Case{1e3, "kHz", 1e3}, Case{11e6, "MHz", 1e6}, Case{38.5e6, "MHz", 1e6},
                          Case{44e9, "GHz", 1e9}}) {
        EXPECT_EQ(DetermineFrequencyUnits(c.value).text, c.frequency) << c.value;
        EXPECT_EQ(DetermineFrequencyUnits(c.value).factor, c.divider) << c.value;
    }
    struct TimeCase {
        double seconds;
        const char* units;
        double multiplier;
    };
    for (const TimeCase& c : {TimeCase{2.5, "S", 1}, TimeCase{1e-3, "mS", 1e3}, TimeCase{2.597e-5, "uS", 1e6},
                              TimeCase{5e-9, "nS", 1e9}, TimeCase{5e-12, "pS", 1e12}, TimeCase{5000, "pS", 1e12}}) {
        EXPECT_EQ(DetermineTimeUnits(c.seconds).text, c.units) << c.seconds;
        EXPECT_EQ(DetermineTimeUnits(c.seconds).factor, c.multiplier) << c.seconds;
    }
}

TEST(Spectrum, FrequencyAxisSpansTheSampleRate) {
    const Spectrum spectrum = magnitude_spectrum(random_samples(100, 1), 11e6);
    EXPECT_EQ(spectrum.frequency_units, "MHz");
    EXPECT_EQ(spectrum.x, (AxisRange{-5.5, 5.5}));
    ASSERT_EQ(spectrum.frequency.size(), 100U);
    EXPECT_DOUBLE_EQ(spectrum.frequency.front(), -5.5);
    EXPECT_DOUBLE_EQ(spectrum.frequency.back(), 5.5);
    EXPECT_NEAR(spectrum.frequency[1] - spectrum.frequency[0], 11.0 / 99, 1e-12);
    // A rate that is not positive becomes 1 Hz.
    EXPECT_EQ(magnitude_spectrum(random_samples(4, 1), -3).x, (AxisRange{-0.5, 0.5}));
}

TEST(Spectrum, PowerIsConservedAndThePeakIsZeroDecibels) {
    // Parseval: the bins hold n times the energy of the samples.
    const Samples x = random_samples(1001, 3);
    const Spectrum spectrum = magnitude_spectrum(x, 1e6);
    double peak = 0;
    for (const Complex v : naive_dft(x)) peak = std::max(peak, std::norm(v));
    double bins = 0;
    for (const double db : spectrum.magnitude_db) bins += std::pow(10, db / 10) * peak;
    double samples = 0;
    for (const Complex v : x) samples += std::norm(v);
    EXPECT_NEAR(bins / (1001 * samples), 1, 1e-9);
    EXPECT_EQ(*std::max_element(spectrum.magnitude_db.begin(), spectrum.magnitude_db.end()), 0);
    EXPECT_EQ(spectrum.y.upper, 0);
    EXPECT_EQ(std::fmod(spectrum.y.lower, 10), 0);
}

TEST(Spectrum, UpperHalfOfTheBinsComesFirst) {
    // n = 8: h = 4, so the order is V(4..8), V(1..3) counted from 1, or bins
    // 3 4 5 6 7 0 1 2. A tone in bin 2 lands last, a constant (bin 0) sixth.
    const auto position_of_peak = [](std::size_t bin) {
        Samples x(8);
        for (std::size_t m = 0; m < 8; ++m) x[m] = std::polar(1.0, 2 * std::numbers::pi * double(bin * m) / 8);
        const Spectrum s = magnitude_spectrum(x, 8);
        return std::max_element(s.magnitude_db.begin(), s.magnitude_db.end()) - s.magnitude_db.begin();
    };
    EXPECT_EQ(position_of_peak(2), 7);
    EXPECT_EQ(position_of_peak(0), 5);
    EXPECT_EQ(position_of_peak(3), 0);
}

TEST(Spectrum, EmptyBinsAndFlatOrMissingWaveformsStayDrawable) {
    // [1 -1] has an exactly empty DC bin: it sits 1e-20 (200 dB) below the
    // peak, and the display stops 100 dB down.
    const Spectrum empty_bin = magnitude_spectrum(Samples{1, -1}, 2);
    EXPECT_NEAR(empty_bin.magnitude_db[0], -200, 1e-9);
    EXPECT_EQ(empty_bin.y, (AxisRange{-100, 0}));

    // No samples: the ten-value test shape, 20 log10 of each value.
    const Spectrum shape = magnitude_spectrum(Samples{}, 11e6);
    ASSERT_EQ(shape.magnitude_db.size(), 10U);
    EXPECT_NEAR(shape.magnitude_db[0], -60, 1e-12);
    EXPECT_NEAR(shape.magnitude_db[3], 20 * std::log10(0.5), 1e-12);
    EXPECT_EQ(shape.magnitude_db[4], 0);
    EXPECT_EQ(shape.y, (AxisRange{-60, 0}));

    // An impulse and an all-zero waveform have flat spectra; the range keeps 10 dB.
    EXPECT_EQ(magnitude_spectrum(Samples{1, 0, 0, 0}, 4).y, (AxisRange{-10, 0}));
    EXPECT_EQ(magnitude_spectrum(Samples(6), 4).y, (AxisRange{-10, 0}));
}

}  // namespace
}  // namespace dot11b::plots
