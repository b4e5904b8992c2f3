#pragma once
// Test helpers: bit vectors written as strings of '0' and '1', sample vectors
// compared to within rounding, and the shared random bits.

#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <string_view>

#include "common/testing/random_bits.hpp"
#include "common/types.hpp"

namespace dot11b::test {

inline Bits bits_of(std::string_view text) {
    Bits bits;
    for (const char c : text) {
        if (c == '0' || c == '1') bits.push_back(static_cast<std::uint8_t>(c - '0'));
    }
    return bits;
}

inline std::string text_of(BitSpan bits) {
    std::string text;
    for (const auto bit : bits) text.push_back(bit ? '1' : '0');
    return text;
}

inline void expect_near(SampleSpan actual, SampleSpan expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(std::abs(actual[i] - expected[i]), 0, 1e-12) << i;
}

}  // namespace dot11b::test
