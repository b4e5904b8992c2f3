#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <vector>

#include "common/errors.hpp"
#include "shaping/pulse_filters.hpp"

namespace dot11b::shaping {
namespace {

using std::numbers::pi;

struct Design {
    double taps;
    double factor;
    double oversampling;
};

// Grid of the designs: -(n-1)/2 in steps of 1 while not beyond (n-1)/2, in samples.
std::vector<double> offsets(double taps) {
    std::vector<double> grid;
    for (double k = -(taps - 1) / 2; k <= (taps - 1) / 2; k += 1) grid.push_back(k);
    return grid;
}

// Textbook root raised cosine for a symbol period of 1; at its removable
// singularities the average of two close neighbours stands in for the limit.
double textbook_root_cosine(double t, double alpha) {
    const auto pulse = [alpha](double x) {
        return (std::sin(pi * x * (1 - alpha)) + 4 * alpha * x * std::cos(pi * x * (1 + alpha))) /
               (pi * x * (1 - (4 * alpha * x) * (4 * alpha * x)));
    };
    const bool singular = t == 0 || std::abs(std::abs(4 * alpha * t) - 1) < 1e-9;
    constexpr double kStep = 1e-6;
    return singular ? (pulse(t - kStep) + pulse(t + kStep)) / 2 : pulse(t);
}

// Twice the area of a Gaussian over the symbol [t - 1/2, t + 1/2] (Simpson's rule),
// with sigma set so that the Gaussian filter's response falls by 3 dB at f = BT:
// exp(-2 pi^2 sigma^2 BT^2) = 1/sqrt(2).
double rectangle_through_gaussian(double t, double bt) {
    const double sigma = std::sqrt(std::log(2.0) / 4) / (pi * bt);
    const auto density = [sigma](double x) {
        return std::exp(-x * x / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * pi));
    };
    constexpr int kIntervals = 20000;
    const double h = 1.0 / kIntervals;
    double area = density(t - 0.5) + density(t + 0.5);
    for (int i = 1; i < kIntervals; ++i) area += (i % 2 ? 4 : 2) * density(t - 0.5 + i * h);
    return 2 * area * h / 3;
}

// Even and odd lengths, non-integer lengths of fractional oversampling (24.5 gives
// -11.75 ... 11.25), and grids that meet t = +-1/(4 alpha): exactly at alpha 0.5 with
// 4 samples per symbol, and after rounding at alpha 0.14 with 7 (t = 12.5/7).
const Design kDesigns[] = {{1, 0.5, 4},   {9, 0.5, 4},    {21, 0.5, 7},  {42, 0.14, 7}, {24.5, 0.3, 7},
                           {17.5, 1, 5},  {12, 0.22, 2},  {30, 0.05, 5}, {18, 0.35, 3}, {24.5, 0.25, 7}};

TEST(RootCosineTaps, MatchesTheTextbookPulseWithUnitGain) {
    for (const auto& d : kDesigns) {
        SCOPED_TRACE(testing::Message() << d.taps << " taps, alpha " << d.factor << ", S " << d.oversampling);
        const std::vector<double> taps = root_cosine_taps(d.taps, d.factor, d.oversampling);
        const std::vector<double> grid = offsets(d.taps);
        ASSERT_EQ(taps.size(), grid.size());
        std::vector<double> expected;
        for (const double k : grid) expected.push_back(textbook_root_cosine(k / d.oversampling, d.factor));
        const double sum = std::accumulate(expected.begin(), expected.end(), 0.0);
        for (std::size_t i = 0; i < taps.size(); ++i) EXPECT_NEAR(taps[i], expected[i] / sum, 1e-8) << i;
        EXPECT_NEAR(std::accumulate(taps.begin(), taps.end(), 0.0), 1.0, 1e-12);
    }
}

TEST(RootCosineTaps, SymmetricWithTheLargestTapAtTheCentre) {
    for (const auto& d : kDesigns) {
        if (d.taps != std::floor(d.taps)) continue;
        SCOPED_TRACE(testing::Message() << d.taps << " taps, alpha " << d.factor);
        const std::vector<double> taps = root_cosine_taps(d.taps, d.factor, d.oversampling);
        for (std::size_t i = 0; i < taps.size(); ++i) EXPECT_NEAR(taps[i], taps[taps.size() - 1 - i], 1e-15);
        const auto largest = static_cast<std::size_t>(std::max_element(taps.begin(), taps.end()) - taps.begin());
        EXPECT_EQ(largest, (taps.size() - 1) / 2);
    }
}

TEST(GaussianTaps, RectangularSymbolThroughAGaussianOfBandwidthBT) {
    for (const auto& d : kDesigns) {
        SCOPED_TRACE(testing::Message() << d.taps << " taps, BT " << d.factor << ", S " << d.oversampling);
        const std::vector<double> taps = gaussian_taps(d.taps, d.factor, d.oversampling);
        const std::vector<double> grid = offsets(d.taps);
        ASSERT_EQ(taps.size(), grid.size());
        for (std::size_t i = 0; i < taps.size(); ++i) {
            EXPECT_NEAR(taps[i], rectangle_through_gaussian(grid[i] / d.oversampling, d.factor), 1e-11) << i;
        }
    }
}

TEST(GaussianTaps, PeakApproachesTwoForAWideBand) {
    const std::vector<double> narrow = gaussian_taps(1, 0.3, 4);
    const std::vector<double> wide = gaussian_taps(21, 50, 7);
    EXPECT_LT(narrow[0], 1.9);
    EXPECT_NEAR(wide[10], 2.0, 1e-12);
    for (const double tap : wide) {
        EXPECT_GE(tap, 0.0);
        EXPECT_LE(tap, 2.0);
    }
}

TEST(PulseFilterDesigns, RejectInputsThatGiveNoFiniteTaps) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const Design kInvalid[] = {{0.5, 0.5, 4}, {kNan, 0.5, 4}, {2e9, 0.5, 4}, {9, 0, 4},
                               {9, -0.5, 4},  {9, kNan, 4},   {9, 0.5, 0},   {9, 0.5, kInf}};
    for (const auto& d : kInvalid) {
        SCOPED_TRACE(testing::Message() << d.taps << " taps, factor " << d.factor << ", S " << d.oversampling);
        EXPECT_THROW(root_cosine_taps(d.taps, d.factor, d.oversampling), ConfigError);
        EXPECT_THROW(gaussian_taps(d.taps, d.factor, d.oversampling), ConfigError);
    }
}

}  // namespace
}  // namespace dot11b::shaping
