#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plots/ccdf.hpp"

namespace dot11b::plots {
namespace {

TEST(Ccdf, MatchesASortedCountOfSamplesAtOrAboveEachLevel) {
    std::mt19937 random(5);
    std::normal_distribution<double> gauss;
    Samples x(5000);
    for (auto& v : x) v = {gauss(random), gauss(random)};
    const Ccdf result = ccdf(x);

    double mean = 0;
    for (const Complex v : x) mean += std::norm(v) / static_cast<double>(x.size());
    ASSERT_EQ(result.level_db.size(), 201U);
    for (std::size_t k = 0; k < result.level_db.size(); ++k) {
        std::size_t reaching = 0;
        for (const Complex v : x) reaching += 10 * std::log10(std::norm(v) / mean) >= result.level_db[k] ? 1 : 0;
        const double percent = 100.0 * static_cast<double>(reaching) / 5000;
        EXPECT_NEAR(result.percent[k], percent == 0 ? 1e-300 : percent, 1e-9) << "level " << k;
    }
    EXPECT_EQ(result.x, (AxisRange{0, 20}));
    EXPECT_EQ(result.level_db[1], 0.1);
    EXPECT_EQ(result.y.upper, 100);
    EXPECT_LE(result.y.lower, 0.001);
    EXPECT_EQ(result.x_ticks, (std::vector<double>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20}));
}

TEST(Ccdf, ReferenceIsTheNoiseOfTheWaveformsKind) {
    // P(|x|^2 >= mean) is exp(-1) for complex Gaussian noise; for real noise
    // it is P(|x| >= sigma) = 31.73 %; at 10 dB exp(-10).
    Samples real_wave = {1, -2, 0.5, 3};
    const Ccdf real_result = ccdf(real_wave);
    EXPECT_TRUE(real_result.real_wave);
    EXPECT_NEAR(real_result.reference[0], 31.7310507862914, 1e-9);

    real_wave[2] += Complex(0, 1e-12);
    const Ccdf complex_result = ccdf(real_wave);
    EXPECT_FALSE(complex_result.real_wave);
    EXPECT_NEAR(complex_result.reference[0], 100 * std::exp(-1.0), 1e-12);
    EXPECT_NEAR(complex_result.reference[100], 100 * std::exp(-10.0), 1e-12);
}

TEST(Ccdf, ExamplesOfTheLevelAxisAndRange) {
    // Constant envelope: every sample at the average, so only level 0 is reached.
    const Ccdf constant = ccdf(Samples{{1, 1}, {-1, 1}, {-1, -1}, {1, -1}});
    EXPECT_EQ(constant.percent[0], 100);
    EXPECT_EQ(constant.percent[1], 1e-300);
    EXPECT_EQ(constant.y, (AxisRange{0.001, 100}));

    // One sample 25 dB above the average: the axis reaches 1.01 x 25 dB.
    const double ratio = std::pow(10, 2.5);
    Samples peaky(1000, 1);
    peaky[0] = std::sqrt(ratio * 999 / (1000 - ratio));
    const Ccdf peak = ccdf(peaky);
    EXPECT_NEAR(peak.x.upper, 25.25, 1e-9);
    EXPECT_NEAR(peak.level_db[1], 0.12625, 1e-12);
    EXPECT_EQ(peak.x_ticks.back(), 24);
    // Only that sample reaches the levels up to 25 dB: 0.1 %, above the 0.001 % floor.
    EXPECT_EQ(peak.percent[198], 0.1);
    EXPECT_EQ(peak.percent[199], 1e-300);
    EXPECT_EQ(peak.y.lower, 0.001);

    // An all-zero waveform is drawn, not divided by zero.
    const Ccdf zeros = ccdf(Samples(8));
    EXPECT_EQ(zeros.percent[0], 100);

    // No samples: the 1000-point test signal, a complex one.
    const Ccdf test = ccdf(Samples{});
    EXPECT_EQ(ccdf_test_signal().size(), 1000U);
    EXPECT_FALSE(test.real_wave);
    EXPECT_EQ(test.percent, ccdf(ccdf_test_signal()).percent);
}

}  // namespace
}  // namespace dot11b::plots
