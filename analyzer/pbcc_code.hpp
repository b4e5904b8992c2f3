#pragma once
// The binary convolutional code of PBCC (IEEE 802.11-2016 clause 17): rate 1/2,
// 64 states, generators G0 = 133 and G1 = 175 (octal); its encoder and a
// soft-decision Viterbi decoder.

#include <cstddef>
#include <span>

#include "common/types.hpp"

namespace dot11b::analyzer {

// Two coded bits per input bit, the G0 output first; the register starts at zero.
Bits pbcc_encode(BitSpan bits);

// The most likely input bits for `soft` (two values per input bit, in the order
// pbcc_encode sends them; positive means a coded 0, negative a coded 1, zero
// nothing known). The path must end in state 0, as the zero tail leaves it.
Bits viterbi_decode(std::span<const double> soft);

}  // namespace dot11b::analyzer
