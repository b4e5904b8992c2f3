#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "common/errors.hpp"
#include "shaping/circular_filter.hpp"
#include "sample_checks.hpp"

namespace dot11b::shaping {
namespace {

using test::expect_near;

Samples random_samples(std::size_t count, std::mt19937& random) {
    std::normal_distribution<double> normal;
    Samples x(count);
    for (Complex& v : x) v = {normal(random), normal(random)};
    return x;
}

// (signal length, taps): odd and even filters, one tap, and the longest allowed (length + 1).
const std::pair<std::size_t, std::size_t> kShapes[] = {{16, 1}, {16, 5}, {16, 6}, {9, 9}, {9, 10}, {1, 2}, {40, 21}};

TEST(Circfilt, SmallExamples) {
    const Samples x = {{1, 2}, 3, {0, -1}, 4, 5};
    EXPECT_EQ(circfilt(x, Samples{1}), x);
    EXPECT_EQ(circfilt(x, Samples{0, 1, 0}), x);
    // The impulse response wraps from the end back to the start.
    EXPECT_EQ(circfilt(Samples{1, 0, 0, 0}, Samples{1, 1, 1}), Samples({1, 1, 0, 1}));
    EXPECT_TRUE(circfilt(Samples{}, Samples{2}).empty());
}

TEST(Circfilt, EqualsTheCentredCircularConvolution) {
    std::mt19937 random(7);
    for (const auto& [length, taps] : kShapes) {
        SCOPED_TRACE(testing::Message() << length << " samples, " << taps << " taps");
        const Samples x = random_samples(length, random);
        const Samples h = random_samples(taps, random);
        Samples expected(length);
        for (std::size_t m = 0; m < length; ++m) {
            for (std::size_t k = 0; k < taps; ++k) expected[m] += h[k] * x[(m + taps / 2 + 2 * length - k) % length];
        }
        expect_near(circfilt(x, h), expected, 1e-12);
    }
}

TEST(Circfilt, ConstantStaysConstantScaledByTheTapSum) {
    std::mt19937 random(8);
    for (const auto& [length, taps] : kShapes) {
        SCOPED_TRACE(testing::Message() << length << " samples, " << taps << " taps");
        const Samples h = random_samples(taps, random);
        Complex tap_sum = 0;
        for (const Complex tap : h) tap_sum += tap;
        const Complex level(0.3, -1.2);
        expect_near(circfilt(Samples(length, level), h), Samples(length, level * tap_sum), 1e-12);
    }
}

TEST(Circfilt, CommutesWithACircularShift) {
    std::mt19937 random(9);
    for (const auto& [length, taps] : kShapes) {
        SCOPED_TRACE(testing::Message() << length << " samples, " << taps << " taps");
        const Samples x = random_samples(length, random);
        const Samples h = random_samples(taps, random);
        const std::size_t shift = length / 3;
        Samples shifted = x;
        std::rotate(shifted.begin(), shifted.begin() + static_cast<std::ptrdiff_t>(shift), shifted.end());
        Samples expected = circfilt(x, h);
        std::rotate(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(shift), expected.end());
        expect_near(circfilt(shifted, h), expected, 1e-12);
    }
}

TEST(Circfilt, RejectsAnEmptyFilterOrOneLongerThanThePeriodPlusOne) {
    EXPECT_THROW(circfilt(Samples(4, 1.0), Samples{}), ConfigError);
    EXPECT_THROW(circfilt(Samples(4, 1.0), Samples(6, 1.0)), ConfigError);
    EXPECT_THROW(circfilt(Samples{}, Samples(2, 1.0)), ConfigError);
}

}  // namespace
}  // namespace dot11b::shaping
