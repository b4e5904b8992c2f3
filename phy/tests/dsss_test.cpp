#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/errors.hpp"
#include "phy/dsss.hpp"
#include "receivers.hpp"
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
    const Bits bits = test::random_bits(96, 1);
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
    const Bits bits = test::random_bits(200, 2);
    EXPECT_EQ(test::dsss_demodulate(modulate_1mbps(bits, kStart).chips, DataRate::Mbps1, kStart), bits);
    EXPECT_EQ(test::dsss_demodulate(modulate_2mbps(bits, kStart).chips, DataRate::Mbps2, kStart), bits);
}

}  // namespace
}  // namespace dot11b::phy
