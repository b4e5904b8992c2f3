#pragma once
// Bit-serial polynomial division: the one engine behind the PLCP header CRC-16
// and the MAC frame check sequence CRC-32.

#include "common/types.hpp"

namespace dot11b::mac {

// taps: generator coefficients from x^0 up to and including the highest term.
// initial_state: the register preset, initial_state[0] being the x^0 stage; it
// must have one element fewer than taps. Returns the register after the data,
// highest-order stage first. Throws ConfigError when the lengths do not match.
Bits lfsr_checksum(BitSpan taps, BitSpan initial_state, BitSpan data);

}  // namespace dot11b::mac
