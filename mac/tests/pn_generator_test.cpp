#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "mac/lfsr_sequence.hpp"
#include "mac/pn_generator.hpp"

namespace dot11b::mac {
namespace {

std::string text_of(const Bits& bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

// Polynomials over GF(2) as bit masks, bit k the coefficient of x^k.
using Poly = std::uint64_t;

Poly multiply_mod(Poly a, Poly b, Poly modulus, int degree) {
    Poly product = 0;
    while (b != 0) {
        if (b & 1U) product ^= a;
        b >>= 1;
        a <<= 1;
        if (a >> degree & 1U) a ^= modulus;
    }
    return product;
}

Poly power_of_x(std::uint64_t exponent, Poly modulus, int degree) {
    Poly result = 1;
    Poly base = 2;  // x
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1U) result = multiply_mod(result, base, modulus, degree);
        base = multiply_mod(base, base, modulus, degree);
    }
    return result;
}

std::vector<std::uint64_t> prime_factors(std::uint64_t n) {
    std::vector<std::uint64_t> factors;
    for (std::uint64_t p = 2; p * p <= n; ++p) {
        if (n % p != 0) continue;
        factors.push_back(p);
        while (n % p == 0) n /= p;
    }
    if (n > 1) factors.push_back(n);
    return factors;
}

// The recurrence s(i) = XOR of s(i - d) has the characteristic polynomial
// x^n + sum x^(n - d); its sequences have period 2^n - 1 exactly when that
// polynomial is primitive: x has order 2^n - 1 modulo it.
bool is_primitive(const PnPolynomial& polynomial, int n) {
    Poly modulus = Poly{1} << n;
    for (const int d : polynomial.delays) modulus ^= Poly{1} << (n - d);
    const std::uint64_t period = (std::uint64_t{1} << n) - 1;
    if (power_of_x(period, modulus, n) != 1) return false;
    for (const auto q : prime_factors(period)) {
        if (power_of_x(period / q, modulus, n) == 1) return false;
    }
    return true;
}

TEST(PnGenerator, EveryOrderHasAMaximalLengthPolynomial) {
    for (int n = kMinPnOrder; n <= kMaxPnOrder; ++n) {
        const PnPolynomial polynomial = pn_polynomial(n, false);
        EXPECT_EQ(polynomial.delays.front(), n);
        EXPECT_TRUE(is_primitive(polynomial, n)) << "order " << n;
        EXPECT_EQ(polynomial.complemented, n == 15 || n == 23 || n == 29 || n == 31) << "order " << n;
    }
    EXPECT_TRUE(is_primitive(pn_polynomial(20, true), 20));
    EXPECT_THROW(pn_polynomial(2, false), ConfigError);
    EXPECT_THROW(pn_polynomial(32, false), ConfigError);
}

TEST(PnGenerator, SequencesRepeatAfterTwoToTheOrderMinusOneBits) {
    for (int n = kMinPnOrder; n <= 16; ++n) {
        const std::size_t period = (std::size_t{1} << n) - 1;
        const Bits s = pn_sequence(n, 2 * period + n, false, pn_default_seed(n), false);
        EXPECT_TRUE(
            std::equal(s.begin(), s.begin() + static_cast<long>(period + n), s.begin() + static_cast<long>(period)))
            << "order " << n;
        // A maximal-length sequence holds 2^(n-1) ones per period (complemented: zeros).
        const auto ones = static_cast<std::size_t>(std::count(s.begin(), s.begin() + static_cast<long>(period), 1));
        EXPECT_EQ(ones, pn_polynomial(n, false).complemented ? period / 2 : period / 2 + 1) << "order " << n;
    }
}

TEST(PnGenerator, MatchesHandWorkedSequences) {
    // PN9: s(i) = s(i-9) ^ s(i-5) from nine ones.
    EXPECT_EQ(text_of(pn_sequence(9, 20, false, pn_default_seed(9), false)),
              "111111111"
              "00000111101");
    // PN15 from fifteen ones: s(16...20) = 0, then every bit complemented.
    EXPECT_EQ(text_of(pn_sequence(15, 20, false, pn_default_seed(15), false)),
              "000000000000000"
              "11111");
    EXPECT_EQ(text_of(pn_sequence(15, 20, true, pn_default_seed(15), false)),
              "111111111111111"
              "00000");
    // Order 3, s(i) = s(i-3) ^ s(i-1), seed 0 0 1.
    EXPECT_EQ(text_of(pn_sequence(3, 10, false, pn_seed_from_scalar(3, 1), false)), "0011101001");
    EXPECT_EQ(text_of(pn_sequence(9, 4, false, pn_default_seed(9), false)), "1111");
    EXPECT_TRUE(pn_sequence(9, 0, false, pn_default_seed(9), false).empty());
}

TEST(PnGenerator, SeedsFollowTheirRules) {
    struct Case {
        const char* name;
        Bits seed;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"scalar 0", pn_seed_from_scalar(5, 0), "11111"},
        {"other scalar", pn_seed_from_scalar(5, 7), "00001"},
        {"shorter vector", pn_seed_from_vector(5, Bits{1, 0}), "11111"},
        {"longer vector", pn_seed_from_vector(5, Bits{1, 0, 1, 1, 0, 0, 1}), "10110"},
        {"all-zero vector", pn_seed_from_vector(5, Bits(6, 0)), "00001"},
    };
    for (const auto& c : cases) EXPECT_EQ(text_of(c.seed), c.expected) << c.name;
    EXPECT_THROW(pn_sequence(5, 10, false, Bits{1, 1}, false), ConfigError);
}

TEST(PnGenerator, ZeroSuppressionLimitsZeroRunsOfOrderTwenty) {
    const std::size_t length = (std::size_t{1} << 20) + 100;
    // The register output with the zero-suppression taps 20, 17, before suppression.
    Bits taps(20, 0);
    taps[0] = 1;  // s(i-20)
    taps[3] = 1;  // s(i-17)
    const Bits register_output = lfsr_sequence(20, taps, length, Bits(20, 1));
    const Bits suppressed = pn_sequence(20, length, false, pn_default_seed(20), true);

    auto longest_zero_run = [](const Bits& bits) {
        std::size_t longest = 0;
        std::size_t run = 0;
        for (const auto bit : bits) {
            run = bit == 0 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    };
    EXPECT_EQ(longest_zero_run(register_output), 19U);  // an m-sequence of order n has one run of n - 1 zeros
    EXPECT_EQ(longest_zero_run(suppressed), 14U);
    std::size_t forced = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (suppressed[i] == register_output[i]) continue;
        ASSERT_EQ(register_output[i], 0) << i;  // only zeros are forced to one
        ++forced;
    }
    EXPECT_GT(forced, 0U);
    // Other orders ignore the flag.
    EXPECT_EQ(pn_sequence(9, 600, false, pn_default_seed(9), true),
              pn_sequence(9, 600, false, pn_default_seed(9), false));
}

}  // namespace
}  // namespace dot11b::mac
