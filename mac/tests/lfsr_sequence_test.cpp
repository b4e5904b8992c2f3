#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "common/errors.hpp"
#include "mac/lfsr_sequence.hpp"

namespace dot11b::mac {
namespace {

Bits bits_of(std::string_view text) {
    Bits bits;
    for (const char c : text) bits.push_back(static_cast<std::uint8_t>(c - '0'));
    return bits;
}

std::string text_of(const Bits& bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

TEST(Lfsr, GeneratesFibonacciSequences) {
    // a(i) = a(i-3) ^ a(i-1) from 1 0 0, worked by hand.
    EXPECT_EQ(text_of(lfsr_sequence(3, bits_of("101"), 10, bits_of("100"))), "1001110100");
    EXPECT_EQ(text_of(lfsr_sequence(3, bits_of("101"), 2, bits_of("100"))), "10");
    EXPECT_TRUE(lfsr_sequence(3, bits_of("101"), 0, bits_of("100")).empty());
    // Taps beyond the order are ignored.
    EXPECT_EQ(lfsr_sequence(3, bits_of("10111"), 10, bits_of("100")),
              lfsr_sequence(3, bits_of("101"), 10, bits_of("100")));
    EXPECT_THROW(lfsr_sequence(4, bits_of("101"), 10, bits_of("1000")), ConfigError);
    EXPECT_THROW(lfsr_sequence(3, bits_of("101"), 10, bits_of("10")), ConfigError);
}

TEST(Lfsr, PrimitivePolynomialGivesMaximalPeriod) {
    // x^9 + x^5 + 1 is primitive: the sequence repeats after 511 bits, not before.
    Bits taps(9, 0);
    taps[0] = 1;  // a(i-9)
    taps[4] = 1;  // a(i-5)
    const Bits a = lfsr_sequence(9, taps, 1100, Bits(9, 1));
    for (std::size_t i = 0; i + 511 < a.size(); ++i) ASSERT_EQ(a[i], a[i + 511]) << i;
    EXPECT_FALSE(std::equal(a.begin(), a.begin() + 300, a.begin() + 255));
    EXPECT_EQ(std::count(a.begin(), a.begin() + 511, 1), 256);
}

}  // namespace
}  // namespace dot11b::mac
