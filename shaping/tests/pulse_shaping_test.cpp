#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "common/errors.hpp"
#include "shaping/pulse_filters.hpp"
#include "shaping/pulse_shaping.hpp"
#include "reference_pulse_shaper.hpp"
#include "sample_checks.hpp"

namespace dot11b::shaping {
namespace {

using test::expect_near;
using test::shape_pulses_reference;

Samples random_chips(std::size_t count, std::mt19937& random) {
    // Unit-magnitude QPSK chips with a bias, so that the mean removal matters.
    const Complex points[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 0}};
    Samples chips(count);
    for (Complex& chip : chips) chip = points[random() % 5];
    return chips;
}

TEST(ShapePulses, HandWorkedBursts) {
    const Complex a(1, 2);
    const Complex b(-3, 0);
    // Hold at factor 3: a a a b b b, mean (a + b) / 2, every second sample kept.
    const Complex mean = (a + b) / 2.0;
    const Samples held = {a - mean, a - mean, b - mean};
    // Factor 2, taps 1 2 3: circular convolution 1 2 3 0 0 0, rotated by 1 to
    // 2 3 0 0 0 1; the mean 1 of all six is removed before samples 0, 2, 4 are kept.
    const std::vector<double> taps = {1, 2, 3};
    const Samples filtered = {1, -1, -1};
    for (const auto shape : {&shape_pulses, &shape_pulses_reference}) {
        expect_near(shape(Samples{a, b}, 3, 2, {}), held, 1e-15);
        expect_near(shape(Samples{1, 0, 0}, 2, 2, taps), filtered, 1e-15);
    }
}

TEST(ShapePulses, PolyphaseFormMatchesTheDirectForm) {
    std::mt19937 random(11);
    const auto random_taps = [&random](std::size_t count) {
        std::vector<double> taps(count);
        for (double& tap : taps) tap = static_cast<double>(random() % 1000) / 500.0 - 1;
        return taps;
    };
    for (const int factor : {2, 3, 5, 7}) {
        // Rectangular hold, the designs at odd, even and non-integer lengths (3.5 chips
        // at factor 7 is 24.5), a two-tap filter, and random filters as long as the
        // burst and one longer, the most a burst allows.
        const double f = factor;
        const std::vector<std::vector<double>> designs = {{},
                                                          gaussian_taps(6 * f, 0.5, f),
                                                          root_cosine_taps(3 * f + 1, 0.35, f),
                                                          root_cosine_taps(3.5 * f, 0.22, f),
                                                          {0.3, -1.1}};
        for (const std::size_t chips_in_burst : {1U, 2U, 3U, 7U, 64U}) {
            const Samples chips = random_chips(chips_in_burst, random);
            const std::size_t samples = chips_in_burst * static_cast<std::size_t>(factor);
            std::vector<std::vector<double>> cases = designs;
            cases.push_back(random_taps(samples));
            cases.push_back(random_taps(samples + 1));
            for (const auto& taps : cases) {
                if (taps.size() > samples + 1) continue;
                for (const int decimation : {1, 2, 3}) {
                    SCOPED_TRACE(testing::Message() << "factor " << factor << ", decimation " << decimation << ", "
                                                    << chips_in_burst << " chips, " << taps.size() << " taps");
                    const Samples expected = shape_pulses_reference(chips, factor, decimation, taps);
                    double scale = 0;
                    for (const Complex v : expected) scale = std::max(scale, std::abs(v));
                    expect_near(shape_pulses(chips, factor, decimation, taps), expected, 1e-12 * scale);
                }
            }
        }
    }
}

// Long runs of DSSS- and CCK-like chips (quarter turns of one phasor), which the
// fast form shapes from tables, between ramp-like scaled chips, a chip on an axis,
// and a second run whose phasor differs from the first in the last bit only.
TEST(ShapePulses, RunsOfQuarterTurnsMatchTheDirectForm) {
    std::mt19937 random(5);
    const Complex diagonal = Complex(1, 1) / std::sqrt(2.0);
    const Complex near_diagonal = std::polar(1.0, std::atan2(1.0, 1.0));
    const auto run = [&random](Complex phasor, std::size_t count, Samples& chips) {
        const Complex turns[] = {phasor, phasor * Complex(0, 1), -phasor, phasor * Complex(0, -1)};
        for (std::size_t i = 0; i < count; ++i) chips.push_back(turns[random() % 4]);
    };
    Samples chips;
    for (int k = 1; k <= 5; ++k) chips.push_back(diagonal * (k / 6.0));
    run(diagonal, 9000, chips);
    chips.push_back(Complex(0, -1));
    run(near_diagonal, 9000, chips);
    for (int k = 5; k >= 1; --k) chips.push_back(near_diagonal * (k / 6.0));

    struct Case {
        int factor;
        int decimation;
        double symbols;  // filter length in chips
    };
    const Case cases[] = {{2, 1, 6}, {3, 1, 6}, {5, 2, 3}, {7, 2, 3}, {5, 2, 6}, {7, 2, 6}, {7, 3, 3}, {4, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "factor " << c.factor << ", decimation " << c.decimation);
        const std::vector<double> taps = gaussian_taps(c.symbols * c.factor, 0.5, c.factor);
        const Samples expected = shape_pulses_reference(chips, c.factor, c.decimation, taps);
        double peak = 0;
        for (const Complex v : expected) peak = std::max(peak, std::abs(v));
        expect_near(shape_pulses(chips, c.factor, c.decimation, taps), expected, 1e-12 * peak);
    }
}

TEST(ShapePulses, RejectsFactorsBelowOneAndFiltersLongerThanTheBurst) {
    const Samples chips(3, 1.0);
    const std::vector<double> fits(7, 0.1);
    const std::vector<double> too_long(8, 0.1);
    for (const auto shape : {&shape_pulses, &shape_pulses_reference}) {
        EXPECT_NO_THROW(shape(chips, 2, 1, fits));
        EXPECT_THROW(shape(chips, 2, 1, too_long), ConfigError);
        EXPECT_THROW(shape(chips, 0, 1, {}), ConfigError);
        EXPECT_THROW(shape(chips, 2, 0, {}), ConfigError);
        EXPECT_THROW(shape(Samples{}, 2, 1, fits), ConfigError);
        EXPECT_TRUE(shape(Samples{}, 2, 2, {}).empty());
    }
}

}  // namespace
}  // namespace dot11b::shaping
