#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/errors.hpp"
#include "phy/dsss.hpp"
#include "test_bits.hpp"

namespace dot11b::phy {
namespace {

using test::bits_of;

const Complex kStart = Complex(1, 1) / std::sqrt(2.0);
const Complex kJ(0, 1);

TEST(DifferentialModulation, PhaseChainsFollowTheBits) {
    const Complex v = kStart;
    EXPECT_EQ(dbpsk(bits_of("0110"), v), Samples({v, -v, v, v}));
    EXPECT_EQ(dqpsk(bits_of("00011110"), v), Samples({v, kJ * v, -kJ * v, -v}));
    EXPECT_TRUE(dbpsk({}, v).empty());
    EXPECT_THROW(dqpsk(bits_of("010"), v), ConfigError);
}

TEST(DifferentialModulation, ChainContinuesAcrossCalls) {
    std::mt19937 random(1);
    Bits bits(96);
    for (auto& bit : bits) bit = static_cast<std::uint8_t>(random() & 1U);
    const BitSpan all(bits);
    for (const auto modulate : {&modulate_1mbps, &modulate_2mbps}) {
        const DsssChips whole = modulate(all, kStart);
        const DsssChips first = modulate(all.first(40), kStart);
        const DsssChips second = modulate(all.subspan(40), first.last_phase);
        Samples joined = first.chips;
        joined.insert(joined.end(), second.chips.begin(), second.chips.end());
        EXPECT_EQ(joined, whole.chips);
        EXPECT_EQ(second.last_phase, whole.last_phase);
    }
}

TEST(BarkerSpread, SpreadsEachSymbolOverElevenChips) {
    const Samples chips = barker_spread(Samples{1.0, -1.0});
    const std::vector<double> expected = {1, -1, 1, 1, -1, 1, 1, 1, -1, -1, -1, -1, 1, -1, -1, 1, -1, -1, -1, 1, 1, 1};
    ASSERT_EQ(chips.size(), expected.size());
    for (std::size_t i = 0; i < chips.size(); ++i) EXPECT_EQ(chips[i], Complex(expected[i], 0)) << i;
}

TEST(RateModulators, ChipCountsAndLastPhase) {
    const auto preamble = modulate_1mbps(Bits(144, 1), kStart);
    EXPECT_EQ(preamble.chips.size(), 1584U);
    EXPECT_EQ(preamble.last_phase, -preamble.chips.back());
    const auto header = modulate_2mbps(Bits(48, 0), kStart);
    EXPECT_EQ(header.chips.size(), 264U);
    EXPECT_EQ(header.last_phase, -header.chips.back());
    for (const Complex chip : preamble.chips) EXPECT_NEAR(std::abs(chip), 1.0, 1e-15);
}

TEST(RateModulators, MatchedFilterRecoversTheBits) {
    // An ideal receiver: despread with the Barker code, then compare each
    // symbol with the previous one.
    std::mt19937 random(2);
    Bits bits(200);
    for (auto& bit : bits) bit = static_cast<std::uint8_t>(random() & 1U);
    const auto despread = [](const Samples& chips) {
        Samples symbols;
        for (std::size_t s = 0; s < chips.size() / 11; ++s) {
            Complex sum = 0;
            for (std::size_t k = 0; k < 11; ++k) sum += chips[11 * s + k] * kBarker[k];
            symbols.push_back(sum / 11.0);
        }
        return symbols;
    };

    Samples symbols = despread(modulate_1mbps(bits, kStart).chips);
    Complex previous = kStart;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        EXPECT_EQ(std::real(symbols[i] * std::conj(previous)) < 0 ? 1 : 0, bits[i]);
        previous = symbols[i];
    }

    symbols = despread(modulate_2mbps(bits, kStart).chips);
    previous = kStart;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const Complex turn = symbols[i] * std::conj(previous);
        // 00 -> 0, 01 -> +pi/2, 11 -> pi, 10 -> -pi/2
        const int first = turn.real() < -0.5 || turn.imag() < -0.5 ? 1 : 0;
        const int second = turn.real() < -0.5 || turn.imag() > 0.5 ? 1 : 0;
        EXPECT_EQ(first, bits[2 * i]);
        EXPECT_EQ(second, bits[2 * i + 1]);
        previous = symbols[i];
    }
}

}  // namespace
}  // namespace dot11b::phy
