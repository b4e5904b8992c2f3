#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "phy/plcp.hpp"
#include "test_bits.hpp"

namespace dot11b::phy {
namespace {

using test::bits_of;
using test::text_of;

TEST(Preamble, HasSyncThenTheStartFrameDelimiter) {
    const Bits long_preamble = preamble_bits(PreambleType::Long);
    ASSERT_EQ(long_preamble.size(), 144U);
    EXPECT_EQ(Bits(long_preamble.begin(), long_preamble.begin() + 128), Bits(128, 1));
    EXPECT_EQ(text_of(BitSpan(long_preamble).subspan(128)), "0000010111001111");  // F3A0h, LSB first

    const Bits short_preamble = preamble_bits(PreambleType::Short);
    ASSERT_EQ(short_preamble.size(), 72U);
    EXPECT_EQ(Bits(short_preamble.begin(), short_preamble.begin() + 56), Bits(56, 0));
    EXPECT_EQ(text_of(BitSpan(short_preamble).subspan(56)), "1111001110100000");  // 05CFh, LSB first
}

TEST(Signal, CodesTheRateInHundredsOfKbps) {
    EXPECT_EQ(text_of(signal_field(DataRate::Mbps1)), "01010000");
    EXPECT_EQ(text_of(signal_field(DataRate::Mbps2)), "00101000");
    EXPECT_EQ(text_of(signal_field(DataRate::Mbps5_5)), "11101100");
    EXPECT_EQ(text_of(signal_field(DataRate::Mbps11)), "01110110");
    EXPECT_THROW(signal_field(DataRate::Mbps22), ConfigError);
    EXPECT_THROW(signal_field(DataRate::Mbps33), ConfigError);
}

// Header examples of IEEE 802.11b frames worked out by hand from the field
// definitions (LENGTH = ceil(bits / rate), CRC-16 preset to ones and inverted).
TEST(Header, FieldsAndCrcForLengthsAndRates) {
    struct Case {
        std::size_t octets;
        DataRate rate;
        std::uint8_t mod;
        std::uint8_t locked;
        const char* signal;
        const char* service;
        const char* length;
        const char* crc;  // nullptr: not checked
    };
    const std::vector<Case> cases = {
        {1024, DataRate::Mbps11, 0, 0, "01110110", "00000000", "1001011101000000", "1101011101101011"},
        {21, DataRate::Mbps11, 0, 0, "01110110", "00000001", "0000100000000000", "1010000001001010"},
        {1024, DataRate::Mbps1, 0, 0, "01010000", "00000000", "0000000000000100", "0100111010000000"},
        {0, DataRate::Mbps1, 0, 0, "01010000", "00000000", "0000000000000000", "0000111000000100"},
        {1024, DataRate::Mbps11, 1, 0, "01110110", "00010000", "0101011101000000", nullptr},  // 746 us
        {1024, DataRate::Mbps11, 0, 1, "01110110", "00100000", "1001011101000000", nullptr},
    };
    for (const auto& c : cases) {
        const Bits header = header_bits(c.octets * 8, c.rate, c.mod, c.locked);
        ASSERT_EQ(header.size(), kHeaderBits);
        const BitSpan h(header);
        SCOPED_TRACE("octets " + std::to_string(c.octets) + " rate " + std::to_string(rate_in_mbps(c.rate)));
        EXPECT_EQ(text_of(h.subspan(0, 8)), c.signal);
        EXPECT_EQ(text_of(h.subspan(8, 8)), c.service);
        EXPECT_EQ(text_of(h.subspan(16, 16)), c.length);
        if (c.crc) {
            EXPECT_EQ(text_of(h.subspan(32, 16)), c.crc);
        }
    }
    // The locked bit changes the CRC.
    EXPECT_NE(BitSpan(header_bits(8192, DataRate::Mbps11, 0, 1)).subspan(32).front(),
              BitSpan(header_bits(8192, DataRate::Mbps11, 0, 0)).subspan(32).front());
}

TEST(Length, ExtensionBitsCountTheSpareOctets) {
    struct Case {
        std::size_t bits;
        DataRate rate;
        std::uint8_t mod;
        double micros;
        std::uint8_t b5, b6, b7;
    };
    const std::vector<Case> cases = {
        {8192, DataRate::Mbps11, 0, 745, 0, 0, 0},  // spare 3 bits
        {8208, DataRate::Mbps11, 0, 747, 0, 0, 1},  // 1026 octets, spare 9
        {8200, DataRate::Mbps11, 0, 746, 0, 0, 0},  // 1025 octets, spare 2
        {168, DataRate::Mbps11, 0, 16, 0, 0, 1},    // spare exactly 8
        {80, DataRate::Mbps11, 0, 8, 0, 0, 1},
        {256, DataRate::Mbps11, 0, 24, 0, 0, 1},
        {344, DataRate::Mbps11, 0, 32, 0, 0, 1},
        {8192, DataRate::Mbps11, 1, 746, 0, 0, 0},  // PBCC counts one more octet
        {8192, DataRate::Mbps5_5, 0, 1490, 0, 0, 0},
        {8, DataRate::Mbps5_5, 0, 2, 0, 0, 0},
        {11, DataRate::Mbps5_5, 0, 2, 0, 0, 0},  // 11 / 5.5 is exactly 2
        {8, DataRate::Mbps2, 0, 4, 0, 0, 0},
        // 22 Mbit/s: spare s in 0..21, floor(s / 8) in b6 b7.
        {8, DataRate::Mbps22, 1, 1, 0, 0, 0},  // 16 bits sent in 1 us, s = 6
        {0, DataRate::Mbps22, 1, 1, 0, 0, 1},  // s = 14
        {80, DataRate::Mbps22, 1, 4, 0, 0, 0},  // 88 sent, s = 0
        {64, DataRate::Mbps22, 1, 4, 0, 1, 0},  // 72 sent, s = 16
        // 33 Mbit/s: s in 0..32.
        {0, DataRate::Mbps33, 1, 1, 0, 1, 1},  // s = 25
        {16, DataRate::Mbps33, 1, 1, 0, 0, 1},  // s = 9
        {8, DataRate::Mbps33, 1, 1, 0, 1, 0},   // s = 17
        {32, DataRate::Mbps33, 1, 2, 0, 1, 1},  // 40 sent in 2 us, s = 26
        {26, DataRate::Mbps33, 1, 2, 1, 0, 0},  // 34 sent in 2 us, s = 32
    };
    for (const auto& c : cases) {
        const LengthField field = length_field(c.bits, c.rate, c.mod);
        SCOPED_TRACE("bits " + std::to_string(c.bits) + " rate " + std::to_string(rate_in_mbps(c.rate)));
        ASSERT_EQ(field.bits.size(), 16U);
        double micros = 0;
        for (std::size_t i = 0; i < 16; ++i) micros += field.bits[i] * static_cast<double>(1U << i);
        EXPECT_EQ(micros, c.micros);
        // Independent check of the rule: b5 b6 b7 read as a number is floor(spare / 8).
        const double spare = rate_in_mbps(c.rate) * micros - static_cast<double>(c.bits + 8U * c.mod);
        const int expected_octets = (c.rate == DataRate::Mbps11 || c.rate == DataRate::Mbps22 ||
                                     c.rate == DataRate::Mbps33)
                                        ? static_cast<int>(spare) / 8
                                        : 0;
        EXPECT_EQ(4 * field.b5 + 2 * field.b6 + field.b7, expected_octets);
        EXPECT_EQ(field.b5, c.b5);
        EXPECT_EQ(field.b6, c.b6);
        EXPECT_EQ(field.b7, c.b7);
    }
}

TEST(Length, RejectsADurationBeyondSixteenBits) {
    EXPECT_NO_THROW(length_field(65535, DataRate::Mbps1, 0));
    EXPECT_THROW(length_field(65536, DataRate::Mbps1, 0), ConfigError);
}

TEST(Crc16, MatchesTheCcittCheckValues) {
    // CRC-16/X-25 check value 906E over "123456789", octets LSB first, result
    // read with its first bit as the least significant.
    Bits digits;
    for (const char c : std::string("123456789")) {
        for (int i = 0; i < 8; ++i) digits.push_back(static_cast<std::uint8_t>((c >> i) & 1));
    }
    const Bits crc = crc16(digits);
    unsigned value = 0;
    for (std::size_t i = 0; i < crc.size(); ++i) value |= static_cast<unsigned>(crc[i]) << i;
    EXPECT_EQ(value, 0x906EU);
    EXPECT_EQ(text_of(crc16(Bits(32, 0))), "0111101100111111");
}

TEST(PreambleType, RejectsSelectorsOutsideZeroAndOne) {
    EXPECT_EQ(preamble_type_from_value(0, "t"), PreambleType::Long);
    EXPECT_EQ(preamble_type_from_value(1, "t"), PreambleType::Short);
    try {
        preamble_type_from_value(2, "dot11b_PREAMBLE");
        ADD_FAILURE();
    } catch (const ConfigError& e) {
        EXPECT_EQ(std::string(e.what()), "dot11b_PREAMBLE: preambleType 2 is not 0 (long) or 1 (short)");
    }
}

}  // namespace
}  // namespace dot11b::phy
