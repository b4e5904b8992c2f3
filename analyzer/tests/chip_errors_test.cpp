#include "analyzer/chip_errors.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <numbers>

namespace dot11b::analyzer {
namespace {

TEST(ChipErrors, UndoTheBurstGainAndOffsetAndKeepEachChipsOwnError) {
    // QPSK chips in pairs of one point, each with an error vector at right
    // angles, equal and opposite within the pair so that the best gain stays
    // the true one; chips 700 and 701 are off by 0.6.
    const std::size_t n = 1200;
    const Complex gain(0.4, -1.1), offset(0.2, 0.05);
    Samples ideal(n), received(n);
    std::vector<Complex> vectors(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t pair = k / 2;
        ideal[k] = std::polar(1.0, std::numbers::pi / 2 * static_cast<double>((pair * 5 + pair / 3) % 4));
        const double size = pair == 350 ? 0.6 : 0.02 * static_cast<double>(pair % 5);
        vectors[k] = ideal[k] * Complex(0, k % 2 == 0 ? size : -size);
        received[k] = offset + gain * (ideal[k] + vectors[k]);
    }
    received.push_back(Complex(9, 9));  // no ideal chip: cut off

    const ChipErrors chips = chip_errors(received, ideal);
    ASSERT_EQ(chips.received.size(), n);
    ASSERT_EQ(chips.error.size(), n);
    for (std::size_t k = 0; k < n; ++k) {
        ASSERT_NEAR(std::abs(chips.received[k] - (ideal[k] + vectors[k])), 0, 1e-9) << "chip " << k;
        ASSERT_NEAR(chips.error[k], std::abs(vectors[k]), 1e-9) << "chip " << k;
        ASSERT_EQ(chips.ideal[k], ideal[k]);
    }
}

TEST(ChipErrors, WithoutSignalEveryChipIsWhollyInError) {
    const Samples ideal{1, -1, 1, 1};
    const ChipErrors chips = chip_errors(Samples(4, Complex(0.5, 0)), ideal);
    EXPECT_EQ(chips.error, std::vector<double>(4, 1.0));
    EXPECT_TRUE(chip_errors({}, {}).error.empty());
}

}  // namespace
}  // namespace dot11b::analyzer
