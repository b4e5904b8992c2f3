#pragma once
// Element-wise comparison of sample vectors for the shaping tests.

#include <gtest/gtest.h>

#include <complex>

#include "common/types.hpp"

namespace dot11b::shaping::test {

inline void expect_near(const Samples& actual, const Samples& expected, double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_LE(std::abs(actual[i] - expected[i]), tolerance) << i;
}

}  // namespace dot11b::shaping::test
