#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/testing/error_text.hpp"
#include "sample_checks.hpp"
#include "shaping/frequency_fir.hpp"

namespace dot11b::shaping {
namespace {

using dot11b::test::error_text;
using test::expect_near;

using std::numbers::pi;

constexpr double kSampleRate = 20e6;
const Samples kTaps = {{0.1, 0.05}, {-0.2, 0.1}, {1.0, -0.3}, {0.15, 0.2}, {-0.05, 0.0}};

// Response of `taps` at positions -(size-1)/2 ... (size-1)/2: sum h[i] exp(-j 2 pi f n / SR).
Complex response_of(const Samples& taps, double f) {
    Complex sum = 0;
    const double first = -(static_cast<double>(taps.size()) - 1) / 2;
    for (std::size_t i = 0; i < taps.size(); ++i) {
        sum += taps[i] * std::polar(1.0, -2 * pi * f * (first + static_cast<double>(i)) / kSampleRate);
    }
    return sum;
}

std::vector<double> evenly_spaced(double first, double last, std::size_t count) {
    std::vector<double> points(count);
    for (std::size_t i = 0; i < count; ++i) points[i] = first + (last - first) * static_cast<double>(i) / (count - 1);
    return points;
}

TEST(Freq2fir, RecoversTheTapsWhoseResponseIsTheConjugateTarget) {
    for (const std::size_t points : {5U, 40U, 5000U}) {
        SCOPED_TRACE(points);
        const std::vector<double> f = evenly_spaced(-9e6, 9.5e6, points);
        Samples target;
        for (const double x : f) target.push_back(std::conj(response_of(kTaps, x)));
        expect_near(freq2fir(5, f, target, kSampleRate), kTaps, 1e-9);
    }
}

TEST(Freq2fir, RejectsInvalidInputsWithTheirMessages) {
    const std::vector<double> f = {-1e6, 0, 1e6};
    const Samples h(3, 1.0);
    EXPECT_EQ(error_text<ConfigError>([&] { freq2fir(5, f, Samples(2, 1.0), kSampleRate); }), "F must be the same size as H");
    EXPECT_EQ(error_text<ConfigError>([&] { freq2fir(2, f, h, kSampleRate); }), "N must be an odd integer");
    EXPECT_EQ(error_text<ConfigError>([&] { freq2fir(1, f, h, kSampleRate); }), "N must be greater than 1.");
    EXPECT_EQ(error_text<ConfigError>([&] { freq2fir(0, f, h, kSampleRate); }), "N must be greater than 1.");
    EXPECT_EQ(error_text<ConfigError>([&] { freq2fir(3, f, h, 2e6); }), "SR must be greater than 2*max{F}.");
    EXPECT_THROW(freq2fir(3, {}, {}, kSampleRate), ConfigError);
    EXPECT_THROW(freq2fir(3, f, Samples{1.0, std::numeric_limits<double>::quiet_NaN(), 1.0}, kSampleRate),
                 ConfigError);
}

TEST(CreateRealFir, TapCountIsAnOddNumberOfAtLeastThree) {
    const std::vector<double> f = evenly_spaced(-9e6, 9e6, 11);
    const Samples flat(f.size(), 2.0);
    const struct {
        double order;
        std::size_t taps;
    } kCases[] = {{4, 5}, {1, 3}, {3, 3}, {31, 31}, {3.7, 3}, {4.2, 5}, {-2, 3}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.order);
        // The inverse of a flat 2 is a single centre tap of 0.5.
        Samples expected(c.taps, 0.0);
        expected[c.taps / 2] = 0.5;
        expect_near(create_real_fir(c.order, f, flat, kSampleRate), expected, 1e-9);
    }
}

TEST(CreateRealFir, InvertsAResponseAfterCentringAndCuttingTheBand) {
    // The band is given 1 MHz off centre, and in a second case with points beyond
    // +-SR/2 whose values must not matter. At 5000 evenly spaced points the linear
    // resampling returns the points themselves, so the fit inverts exactly.
    const Samples inverse_taps = {{0.2, -0.1}, {0.9, 0.05}, {-0.15, 0.1}};
    const std::vector<double> band = evenly_spaced(-8e6, 8e6, 5000);
    std::vector<double> shifted;
    Samples response;
    for (const double f : band) {
        shifted.push_back(f + 1e6);
        response.push_back(1.0 / std::conj(response_of(inverse_taps, f)));
    }
    expect_near(create_real_fir(3, shifted, response, kSampleRate), inverse_taps, 1e-9);

    std::vector<double> wide = {-14e6};
    wide.insert(wide.end(), band.begin(), band.end());
    wide.push_back(14e6);
    Samples wide_response = {Complex(7, 7)};
    wide_response.insert(wide_response.end(), response.begin(), response.end());
    wide_response.push_back(0.0);
    expect_near(create_real_fir(3, wide, wide_response, kSampleRate), inverse_taps, 1e-9);
}

TEST(CreateRealFir, RejectsInvalidInputs) {
    const std::vector<double> f = {-1e6, 0, 1e6};
    EXPECT_EQ(error_text<ConfigError>([&] { create_real_fir(5, f, Samples(2, 1.0), kSampleRate); }),
              "F must be the same size as H");
    EXPECT_EQ(error_text<ConfigError>([&] { create_real_fir(5, f, Samples(3, 1.0), 0); }),
              "SR > 0 The sample rate must be greater than zero.");
    // A zero in the band, a single frequency, a repeated one, no point in the band, no points.
    EXPECT_THROW(create_real_fir(5, f, Samples{0.0, 1.0, 1.0}, kSampleRate), ConfigError);
    EXPECT_THROW(create_real_fir(5, std::vector<double>(3, 1e6), Samples(3, 1.0), kSampleRate), ConfigError);
    EXPECT_THROW(create_real_fir(5, std::vector<double>{0, 1e6, 1e6, 2e6}, Samples(4, 1.0), kSampleRate),
                 ConfigError);
    EXPECT_THROW(create_real_fir(5, std::vector<double>{-30e6, 30e6}, Samples(2, 1.0), kSampleRate), ConfigError);
    EXPECT_THROW(create_real_fir(5, {}, {}, kSampleRate), ConfigError);
    EXPECT_THROW(create_real_fir(std::numeric_limits<double>::infinity(), f, Samples(3, 1.0), kSampleRate),
                 ConfigError);
}

}  // namespace
}  // namespace dot11b::shaping
