#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "phy/pbcc.hpp"
#include "test_bits.hpp"

namespace dot11b::phy {
namespace {

using test::random_bits;
using test::expect_near;

using test::bits_of;
using test::text_of;

const Complex kJ(0, 1);
const Complex kStart = Complex(1, 1) / std::sqrt(2.0);
Complex e(double x) { return std::polar(1.0, x); }

// G0 and G1 of IEEE 802.11b clause 18.4.6.6 written out as tap equations, zero initial state.
Bits reference_encode(const Bits& d) {
    const auto at = [&](std::size_t n, std::size_t back) { return n >= back ? d[n - back] : 0; };
    Bits coded;
    for (std::size_t n = 0; n < d.size(); ++n) {
        coded.push_back(at(n, 0) ^ at(n, 1) ^ at(n, 3) ^ at(n, 4) ^ at(n, 6));
        coded.push_back(at(n, 0) ^ at(n, 2) ^ at(n, 3) ^ at(n, 4) ^ at(n, 5) ^ at(n, 6));
    }
    return coded;
}

TEST(PbccCover, SeedRotatedLeftByThreeEverySixteenBits) {
    const Bits cover = pbcc_cover_bits(512);
    const auto row = [&](std::size_t r) { return text_of(BitSpan(cover).subspan(16 * r, 16)); };
    EXPECT_EQ(row(0), "0011001110001011");  // the seed
    EXPECT_EQ(row(1), "1001110001011001");  // rotated by 3
    EXPECT_EQ(row(5), "1001100111000101");  // by 15
    EXPECT_EQ(row(6), "1100111000101100");  // by 2
    EXPECT_EQ(Bits(cover.begin(), cover.begin() + 256), Bits(cover.begin() + 256, cover.end()));
    EXPECT_EQ(text_of(pbcc_cover_bits(20)), "00110011100010111001");
    EXPECT_TRUE(pbcc_cover_bits(0).empty());
}

TEST(ConvolutionalEncoder, OutputsInterleavedGeneratorStreams) {
    struct Case {
        std::size_t k;
        std::vector<unsigned> generators;
        const char* data;
        const char* coded;
    };
    const std::vector<Case> cases = {
        // Impulse response: the taps of 133 (1101101) and 175 (1011111), interleaved.
        {7, {133, 175}, "1000000", "11100111110111"},
        {3, {7}, "1011", "1100"},          // d(n) ^ d(n-1) ^ d(n-2)
        {3, {5, 7, 1}, "10", "111010"},    // three streams
        {7, {133, 175}, "", ""},
    };
    for (const auto& c : cases) {
        const Bits coded = convolutional_encode(bits_of(c.data), c.k, c.generators);
        EXPECT_EQ(text_of(coded), c.coded) << c.data;
    }
    const Bits data = random_bits(300, 5);
    EXPECT_EQ(convolutional_encode(data, kPbccConstraintLength, kPbccGenerators), reference_encode(data));

    const Bits one = bits_of("1");
    EXPECT_THROW(convolutional_encode(one, 7, std::vector<unsigned>{}), ConfigError);
    EXPECT_THROW(convolutional_encode(one, 7, std::vector<unsigned>{138}), ConfigError);  // not octal
    EXPECT_THROW(convolutional_encode(one, 6, kPbccGenerators), ConfigError);            // tap at D^6
    EXPECT_THROW(convolutional_encode(one, 0, std::vector<unsigned>{0}), ConfigError);
    EXPECT_THROW(convolutional_encode(one, 33, std::vector<unsigned>{1}), ConfigError);
}

// The first cover bits are 0 0 1 1 0 0 1 1 1 0 0 0 1 0 1 1; cover bit 1 turns by pi/2.
TEST(PbccMapping, ConstellationsWithCoverRotation) {
    const Complex r = e(0.3);
    expect_near(map_pbcc(bits_of("0101"), DataRate::Mbps5_5, r), Samples{r, -r, kJ * r, -kJ * r});
    // Pairs 00 -> 1, 01 -> -j, 10 -> j, 11 -> -1, each once per cover bit value.
    expect_near(map_pbcc(bits_of("00 01 10 11 10 11 00 01"), DataRate::Mbps11, r),
                Samples{r, -kJ * r, -r, -kJ * r, kJ * r, -r, kJ * r, r});

    // 8-PSK: the points (1+j)z, (-1+j)z, (-1-j)z, (1-j)z, j, -1, -j, 1 turned by pi/4 (and by
    // j for cover bit 1); triples are b1 b2 b3 with b1 the least significant bit.
    const char* triples[8] = {"000", "100", "010", "110", "001", "101", "011", "111"};
    const std::vector<Complex> cover0 = {kJ, -1.0, -kJ, 1.0, e(0.75 * std::numbers::pi), e(1.25 * std::numbers::pi),
                                         e(1.75 * std::numbers::pi), e(0.25 * std::numbers::pi)};
    const Bits cover = pbcc_cover_bits(16);
    std::string coded;
    Samples expected;
    std::size_t next[2] = {0, 0};
    for (const std::uint8_t c : cover) {
        const std::size_t v = next[c]++;
        coded += triples[v];
        expected.push_back(c ? kJ * cover0[v] : cover0[v]);
    }
    Samples turned = expected;
    for (auto& symbol : turned) symbol /= r;
    for (const DataRate rate : {DataRate::Mbps22, DataRate::Mbps33}) {
        expect_near(map_pbcc(bits_of(coded), rate, 1), expected);
        expect_near(map_pbcc(bits_of(coded), rate, r), turned);  // divided by the reference
    }

    EXPECT_THROW(map_pbcc(Bits(6, 0), DataRate::Mbps1, 1), ConfigError);
    EXPECT_THROW(map_pbcc(Bits(6, 0), DataRate::Mbps2, 1), ConfigError);
    EXPECT_THROW(map_pbcc(Bits(5, 0), DataRate::Mbps11, 1), ConfigError);
    EXPECT_THROW(map_pbcc(Bits(8, 0), DataRate::Mbps22, 1), ConfigError);
}

// Ideal BPSK/QPSK receiver: undo the reference and the cover turn, then read the signs.
Bits demap(const Samples& symbols, DataRate rate, Complex reference) {
    const Bits cover = pbcc_cover_bits(symbols.size());
    Bits coded;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const Complex z = symbols[i] / reference / (cover[i] ? kJ : 1.0);
        if (rate == DataRate::Mbps5_5) {
            coded.push_back(z.real() < 0);
        } else {  // 1 -> 00, -j -> 01, j -> 10, -1 -> 11
            coded.push_back(z.imag() > 0.5 || z.real() < -0.5);
            coded.push_back(z.imag() < -0.5 || z.real() < -0.5);
        }
    }
    return coded;
}

TEST(PbccModulation, EncodesDataWithAZeroTail) {
    for (const DataRate rate : {DataRate::Mbps5_5, DataRate::Mbps11}) {
        Bits tailed = random_bits(200, 6);
        const Samples coded_symbols = pbcc_modulate(tailed, rate, true, kStart);
        tailed.resize(tailed.size() + 8, 0);
        const Bits coded = demap(coded_symbols, rate, kStart);
        EXPECT_EQ(coded, reference_encode(tailed));
        EXPECT_EQ(Bits(coded.end() - 4, coded.end()), Bits(4, 0));  // the register is flushed

        // No data: the 16 coded tail bits are zero, so only the cover turns the reference.
        EXPECT_EQ(demap(pbcc_modulate({}, rate, true, kStart), rate, kStart), Bits(16, 0));

        const Bits plain = random_bits(64, 7);
        EXPECT_EQ(demap(pbcc_modulate(plain, rate, false, kStart), rate, kStart), plain);
    }
}

TEST(PbccModulation, ChipCounts) {
    struct Case {
        std::size_t bits;
        DataRate rate;
        bool encoder;
        std::size_t chips;  // 2 (bits + 8) or bits coded bits, over 1, 2 or 3 per symbol
    };
    const std::vector<Case> cases = {
        {8192, DataRate::Mbps11, true, 8200}, {8192, DataRate::Mbps5_5, true, 16400},
        {8192, DataRate::Mbps11, false, 4096}, {8192, DataRate::Mbps5_5, false, 8192},
        {0, DataRate::Mbps5_5, true, 16},      {0, DataRate::Mbps11, true, 8},
        {16, DataRate::Mbps22, true, 16},      {40, DataRate::Mbps33, true, 32},
        {9, DataRate::Mbps22, false, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pbcc_chip_count(c.bits, c.rate, c.encoder), c.chips) << c.bits;
        EXPECT_EQ(pbcc_modulate(Bits(c.bits, 1), c.rate, c.encoder, kStart).size(), c.chips) << c.bits;
    }
    EXPECT_THROW(pbcc_chip_count(8, DataRate::Mbps22, true), ConfigError);  // 32 coded bits
    EXPECT_THROW(pbcc_modulate(Bits(8, 0), DataRate::Mbps22, true, 1), ConfigError);
    EXPECT_THROW(pbcc_chip_count(3, DataRate::Mbps11, false), ConfigError);
    EXPECT_THROW(pbcc_modulate(Bits(8, 0), DataRate::Mbps2, true, 1), ConfigError);
}

}  // namespace
}  // namespace dot11b::phy
