#pragma once
// Pseudo-random (PN) bit sequences of orders 3 to 31 from maximal-length shift
// registers, as used for test payloads (PN9, PN15, ...).

#include <cstddef>
#include <vector>

#include "common/types.hpp"

namespace dot11b::mac {

inline constexpr int kMinPnOrder = 3;
inline constexpr int kMaxPnOrder = 31;

struct PnPolynomial {
    std::vector<int> delays;  // s(i) = XOR of s(i - d) over the delays d
    bool complemented;        // the output is complemented by default (PN15, PN23, PN29, PN31)
};

// The feedback of order n (3 to 31); order 20 with zero suppression uses 20, 17.
// Throws ConfigError for any other order.
PnPolynomial pn_polynomial(int order, bool zero_suppression);

// Initial register contents, `order` bits: the default is all ones.
Bits pn_default_seed(int order);
// A scalar seed: 0 gives all ones, anything else order-1 zeros and a final 1.
Bits pn_seed_from_scalar(int order, double seed);
// A seed vector: a shorter one gives all ones, a longer one is cut to `order`
// bits, and an all-zero one gets its last bit set (the register must not be all zeros).
Bits pn_seed_from_vector(int order, BitSpan seed);

// `length` bits of the PN sequence of the order: the seed first, then the
// feedback. With zero suppression (order 20 only) no run of more than 14 zeros
// is left. Complemented when exactly one of the polynomial's default and
// `invert` asks for it. Throws ConfigError for an order outside 3 to 31 or a
// seed that is not `order` bits long.
Bits pn_sequence(int order, std::size_t length, bool invert, BitSpan seed, bool zero_suppression);

}  // namespace dot11b::mac
