#pragma once
// Reproducible random bits for tests.

#include <random>

#include "common/types.hpp"

namespace dot11b::test {

inline Bits random_bits(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bits bits(n);
    for (auto& bit : bits) bit = static_cast<std::uint8_t>(random() & 1U);
    return bits;
}

}  // namespace dot11b::test
