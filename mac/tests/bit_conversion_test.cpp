#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "mac/bit_conversion.hpp"

namespace dot11b::mac {
namespace {

TEST(BitVector, WritesValuesLeastSignificantBitFirstWithoutTruncating) {
    struct Case {
        double x;
        double min_size;
        BitOrder order;
        Bits expected;
    };
    const std::vector<Case> cases = {
        {6, 4, BitOrder::LsbFirst, {0, 1, 1, 0}},
        {1, 4, BitOrder::LsbFirst, {1, 0, 0, 0}},
        {1, 4, BitOrder::MsbFirst, {0, 0, 0, 1}},
        {91, 7, BitOrder::LsbFirst, {1, 1, 0, 1, 1, 0, 1}},
        {300, 8, BitOrder::LsbFirst, {0, 0, 1, 1, 0, 1, 0, 0, 1}},  // 9 bits: wider than asked
        {0, 3, BitOrder::LsbFirst, {0, 0, 0}},
        {745, 16, BitOrder::LsbFirst, {1, 0, 0, 1, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0}},
        {5, 3.9, BitOrder::LsbFirst, {1, 0, 1}},  // minimum size is truncated to 3
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bit_vector(c.x, c.min_size, c.order), c.expected) << "x = " << c.x;
    }
}

TEST(BitVector, SingleArgumentUsesTheSignificantBits) {
    EXPECT_TRUE(bit_vector(0).empty());
    EXPECT_EQ(bit_vector(1), Bits({1}));
    EXPECT_EQ(bit_vector(8), Bits({0, 0, 0, 1}));
    EXPECT_EQ(bit_vector(255), Bits(8, 1));
}

TEST(BitVector, RejectsNonIntegers) {
    for (const double x : {2.5, -0.5, double(NAN), double(INFINITY)}) {
        try {
            bit_vector(x, 4);
            ADD_FAILURE() << "accepted " << x;
        } catch (const ConfigError& e) {
            EXPECT_STREQ(e.what(), "Integer required");
        }
    }
    EXPECT_THROW(bit_vector(-3, 4), ConfigError);
}

TEST(Bi2de, ReadsRowsInEitherOrderAndBase) {
    // Column-major 2x3 matrix [1 0 1; 0 1 1].
    const std::vector<double> digits = {1, 0, 0, 1, 1, 1};
    EXPECT_EQ(bi2de(2, 3, digits), std::vector<double>({5, 6}));
    EXPECT_EQ(bi2de(2, 3, digits, 2, BitOrder::MsbFirst), std::vector<double>({5, 3}));
    EXPECT_EQ(bi2de(1, 3, {2, 1, 7}, 8), std::vector<double>({2 + 8 + 7 * 64}));
}

TEST(Bi2de, DigitsBeyondTheFirst1024OverflowOnlyWhenNonZero) {
    std::vector<double> digits(1030, 0.0);
    digits[0] = 1;
    EXPECT_EQ(bi2de(1, digits.size(), digits), std::vector<double>({1}));
    digits[1029] = 1;
    EXPECT_TRUE(std::isinf(bi2de(1, digits.size(), digits)[0]));
}

TEST(Bi2de, RejectsBadInputWithItsMessages) {
    struct Case {
        std::vector<double> digits;
        double base;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, 2, "Required parameter empty."},
        {{1, -1}, 2, "Input must contain only finite real positive integers."},
        {{1, 0.5}, 2, "Input must contain only finite real positive integers."},
        {{1, double(INFINITY)}, 2, "Input must contain only finite real positive integers."},
        {{1, 0}, 2.5, "Source base must be a finite real integer."},
        {{1, 0}, 1, "Source base must be greater than or equal to two."},
        {{1, 2}, 2, "The elements of the matrix are larger than the base can represent."},
    };
    for (const auto& c : cases) {
        try {
            bi2de(1, c.digits.size(), c.digits, c.base);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const ConfigError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

TEST(HexString, PadsToTwiceTheSizeButNeverCuts) {
    EXPECT_EQ(hex_string(255, 2), "00FF");
    EXPECT_EQ(hex_string(65536, 1), "10000");
    EXPECT_EQ(hex_string(0, 0), "0");
    EXPECT_EQ(hex_string(0xABCDEF, 3), "ABCDEF");
    EXPECT_THROW(hex_string(1.5, 1), ConfigError);
}

TEST(Oct2dec, ReadsDecimalDigitsAsOctal) {
    EXPECT_EQ(oct2dec(133), 91);
    EXPECT_EQ(oct2dec(175), 125);
    EXPECT_EQ(oct2dec(0), 0);
    EXPECT_EQ(oct2dec(7), 7);
    EXPECT_THROW(oct2dec(18), ConfigError);
}

}  // namespace
}  // namespace dot11b::mac
