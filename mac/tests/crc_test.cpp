#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "common/errors.hpp"
#include "common/testing/random_bits.hpp"
#include "mac/crc32.hpp"
#include "mac/lfsr_checksum.hpp"

namespace dot11b::mac {
namespace {

// Octets as transmitted: each least significant bit first.
Bits ascii_bits(std::string_view text) {
    Bits bits;
    for (const unsigned char c : text) {
        for (int i = 0; i < 8; ++i) bits.push_back(static_cast<std::uint8_t>((c >> i) & 1U));
    }
    return bits;
}

// Reads transmitted FCS bits as a number whose first bit is the least significant.
std::uint32_t as_number(const Bits& bits) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) value |= static_cast<std::uint32_t>(bits[i]) << i;
    return value;
}

TEST(Crc32, MatchesTheIeee8023CheckValues) {
    // Check values of the IEEE 802.3 CRC-32 (the catalogue "CRC-32/ISO-HDLC" check value CBF43926).
    EXPECT_EQ(as_number(crc32(ascii_bits("123456789"))), 0xCBF43926U);
    EXPECT_EQ(as_number(crc32(ascii_bits("abc"))), 0x352441C2U);
    EXPECT_EQ(crc32({}), Bits(32, 0));
}

TEST(Crc32, DataFollowedByItsFcsLeavesTheMagicResidue) {
    for (const std::size_t length : {0U, 1U, 8U, 31U, 240U, 8192U}) {
        Bits data = test::random_bits(length, 7);
        const Bits fcs = crc32(data);
        data.insert(data.end(), fcs.begin(), fcs.end());
        EXPECT_EQ(as_number(crc32(data)), 0x2144DF1CU) << "length " << length;
    }
}

TEST(Crc32, EverySingleBitErrorChangesTheFcs) {
    const Bits data = ascii_bits("802.11b frame body");
    const Bits fcs = crc32(data);
    for (std::size_t i = 0; i < data.size(); ++i) {
        Bits corrupted = data;
        corrupted[i] ^= 1U;
        EXPECT_NE(crc32(corrupted), fcs) << "bit " << i;
    }
}

// Remainder of data(x) * x^L divided by the generator, by schoolbook long
// division; the first data bit is the highest power.
Bits long_division_remainder(const Bits& generator, const Bits& data) {
    const std::size_t degree = generator.size() - 1;
    Bits dividend = data;
    dividend.resize(data.size() + degree, 0);
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (!dividend[i]) continue;
        for (std::size_t k = 0; k <= degree; ++k) dividend[i + k] ^= generator[degree - k];
    }
    return Bits(dividend.end() - static_cast<std::ptrdiff_t>(degree), dividend.end());
}

TEST(LfsrChecksum, WithAZeroPresetIsThePolynomialRemainder) {
    const Bits crc16_generator = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1};
    for (const std::size_t length : {1U, 5U, 32U, 100U}) {
        const Bits data = test::random_bits(length, 11);
        EXPECT_EQ(lfsr_checksum(crc16_generator, Bits(16, 0), data), long_division_remainder(crc16_generator, data))
            << "length " << length;
    }
}

TEST(LfsrChecksum, ReturnsTheReversedPresetForNoDataAndChecksLengths) {
    EXPECT_EQ(lfsr_checksum(Bits{1, 1, 0, 1}, Bits{1, 0, 0}, {}), Bits({0, 0, 1}));
    EXPECT_THROW(lfsr_checksum(Bits{1, 1, 0, 1}, Bits{1, 0}, {}), ConfigError);
}

}  // namespace
}  // namespace dot11b::mac
