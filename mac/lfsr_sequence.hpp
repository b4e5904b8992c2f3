#pragma once
// Fibonacci linear feedback shift register sequences: the generator behind
// the pseudo-random payloads.

#include <cstddef>

#include "common/types.hpp"

namespace dot11b::mac {

// m bits of the sequence a(i) = sum_k taps[k] * a(i - order + k) mod 2, starting
// with the `order` seed bits (m <= order gives the first m seed bits). Throws
// ConfigError when taps or seed are shorter than order.
Bits lfsr_sequence(std::size_t order, BitSpan taps, std::size_t m, BitSpan seed);

}  // namespace dot11b::mac
