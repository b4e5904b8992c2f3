#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "phy/cck.hpp"
#include "receivers.hpp"
#include "test_bits.hpp"

namespace dot11b::phy {
namespace {

using test::random_bits;
using test::expect_near;

using test::bits_of;

constexpr double kPi = std::numbers::pi;
const Complex kJ(0, 1);
const Complex kStart = Complex(1, 1) / std::sqrt(2.0);  // angle pi/4
Complex e(double x) { return std::polar(1.0, x); }

// Code word scaled by w: w * [x0 ... x7].
Samples word(Complex w, std::vector<Complex> x) {
    for (auto& chip : x) chip *= w;
    return x;
}

// Hand derivations from the code word e(p1+p2+p3+p4), e(p1+p3+p4), e(p1+p2+p4), -e(p1+p4),
// e(p1+p2+p3), e(p1+p3), -e(p1+p2), e(p1) of IEEE 802.11b clause 18.4.6.5.
TEST(Cck, WorkedCodewords) {
    const Complex w = e(kPi / 4);
    const Samples all_zero = word(w, {1, 1, 1, -1, 1, 1, -1, 1});
    Samples six_symbols;  // phi1 = pi/4 + 0, pi, pi, 2pi, 2pi, 3pi: w, -w, -w, w, w, -w
    for (const double sign : {1, -1, -1, 1, 1, -1}) {
        for (const Complex chip : all_zero) six_symbols.push_back(sign * chip);
    }
    struct Case {
        DataRate rate;
        std::string bits;
        Complex reference;
        Samples chips;
    };
    const std::vector<Case> cases = {
        {DataRate::Mbps11, "00000000", kStart, all_zero},
        {DataRate::Mbps11, "00000000", -1.0, word(-1, {1, 1, 1, -1, 1, 1, -1, 1})},
        {DataRate::Mbps11, "00110110", kStart, word(w, {-1, -kJ, kJ, 1, 1, kJ, kJ, 1})},  // phi2..4 = 3pi/2, pi/2, pi
        {DataRate::Mbps11, std::string(48, '0'), 2.0 * kStart, six_symbols},
        {DataRate::Mbps5_5, "0000", kStart, {e(3 * kPi / 4), w, e(3 * kPi / 4), -w, e(3 * kPi / 4), w, -e(3 * kPi / 4), w}},
        {DataRate::Mbps5_5, "0011", kStart, word(w, {kJ, -1, kJ, 1, -kJ, 1, kJ, 1})},  // phi2 = 3pi/2, phi4 = pi
        {DataRate::Mbps5_5, "0000", Complex(-1, -0.0), {-kJ, -1, -kJ, 1, -kJ, -1, kJ, -1}},  // phi1 = pi
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        expect_near(cck_modulate(bits_of(c.bits), c.rate, c.reference), c.chips);
    }
    expect_near(cck_codeword(kPi / 4, 3 * kPi / 2, kPi / 2, kPi), cases[2].chips);
}

TEST(Cck, DqpskChangesByPairAndSymbolParity) {
    // (d0 d1) -> change of phi1 on the first symbol; the second symbol adds pi.
    const std::vector<std::pair<const char*, double>> pairs = {{"00", 0}, {"01", kPi / 2}, {"11", kPi}, {"10", -kPi / 2}};
    for (const auto& [pair, change] : pairs) {
        const Bits d = bits_of(pair);
        const auto phi1 = cck_dqpsk(Bits{d[0], d[0]}, Bits{d[1], d[1]}, 0.5);
        ASSERT_EQ(phi1.size(), 2U);
        EXPECT_NEAR(phi1[0], 0.5 + change, 1e-12) << pair;
        EXPECT_NEAR(phi1[1], 0.5 + 2 * change + kPi, 1e-12) << pair;
    }
    const auto zeros = cck_dqpsk(Bits(5, 0), Bits(5, 0), kPi / 4);  // not wrapped
    const std::vector<double> expected = {kPi / 4, 5 * kPi / 4, 5 * kPi / 4, 9 * kPi / 4, 9 * kPi / 4};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(zeros[i], expected[i], 1e-12) << i;
    EXPECT_TRUE(cck_dqpsk({}, {}, 1).empty());
    EXPECT_THROW(cck_dqpsk(Bits(2, 0), Bits(3, 0), 0), ConfigError);
}

TEST(Cck, AgreesWithThePhaseFormulaOnRandomData) {
    // Direct evaluation: phi1 summed symbol by symbol, phi2..phi4 from the rate's tables.
    for (const DataRate rate : {DataRate::Mbps5_5, DataRate::Mbps11}) {
        const std::size_t per = rate == DataRate::Mbps11 ? 8 : 4;
        const Bits bits = random_bits(64 * per, 3);
        const Complex reference(-0.3, 0.8);
        Samples expected;
        double phi1 = std::atan2(reference.imag(), reference.real());
        for (std::size_t s = 0; s < 64; ++s) {
            const auto d = [&](std::size_t k) { return static_cast<double>(bits[s * per + k]); };
            const double table[4] = {0, kPi / 2, -kPi / 2, kPi};
            phi1 += table[static_cast<int>(2 * d(0) + d(1))] + (s % 2 == 1 ? kPi : 0);
            const auto cw = per == 8 ? cck_codeword(phi1, d(2) * kPi + d(3) * kPi / 2, d(4) * kPi + d(5) * kPi / 2,
                                                    d(6) * kPi + d(7) * kPi / 2)
                                     : cck_codeword(phi1, d(2) * kPi + kPi / 2, 0, d(3) * kPi);
            expected.insert(expected.end(), cw.begin(), cw.end());
        }
        expect_near(cck_modulate(bits, rate, reference), expected);
        expect_near(cck_modulate(bits, rate, 7.0 * reference), expected);  // only the angle counts
    }
}

TEST(Cck, CorrelatorRecoversTheBits) {
    const Bits bits = random_bits(800, 4);
    for (const DataRate rate : {DataRate::Mbps5_5, DataRate::Mbps11}) {
        EXPECT_EQ(test::cck_demodulate(cck_modulate(bits, rate, kStart), rate, kStart), bits);
        EXPECT_EQ(test::cck_demodulate(cck_modulate(bits, rate, -kJ), rate, -kJ), bits);
    }
}

TEST(Cck, ChipCountsAndRejectedInputs) {
    struct Case {
        std::size_t bits;
        DataRate rate;
        std::size_t chips;
    };
    for (const auto& c : std::vector<Case>{{8192, DataRate::Mbps11, 8192}, {8192, DataRate::Mbps5_5, 16384},
                                           {0, DataRate::Mbps11, 0}, {4, DataRate::Mbps5_5, 8}}) {
        EXPECT_EQ(cck_chip_count(c.bits, c.rate), c.chips);
        EXPECT_EQ(cck_modulate(Bits(c.bits, 1), c.rate, kStart).size(), c.chips);
    }
    for (const auto& [bits, rate] : std::vector<std::pair<std::size_t, DataRate>>{
             {12, DataRate::Mbps11}, {6, DataRate::Mbps5_5}, {8, DataRate::Mbps1}, {8, DataRate::Mbps2},
             {8, DataRate::Mbps22}, {8, DataRate::Mbps33}}) {
        EXPECT_THROW(cck_modulate(Bits(bits, 0), rate, 1), ConfigError);
        EXPECT_THROW(cck_chip_count(bits, rate), ConfigError);
    }
    EXPECT_THROW(cck11(Bits(4, 0), 1), ConfigError);
    EXPECT_THROW(cck5(Bits(2, 0), 1), ConfigError);
}

}  // namespace
}  // namespace dot11b::phy
