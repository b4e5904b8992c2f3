#pragma once
// Packet binary convolutional coding (IEEE 802.11b-1999, clause 18.4.6.6): the 64-state
// rate-1/2 code, the cover sequence and the BPSK (5.5 Mbit/s), QPSK (11 Mbit/s) or
// 8-PSK (22 and 33 Mbit/s) mapping, one symbol per chip.

#include <array>
#include <cstddef>
#include <span>

#include "common/types.hpp"
#include "phy/data_rate.hpp"

namespace dot11b::phy {

// G0 = D^6+D^4+D^3+D+1 and G1 = D^6+D^5+D^4+D^3+D^2+1, octal, D^0 in the least significant bit.
inline constexpr std::array<unsigned, 2> kPbccGenerators = {133, 175};
inline constexpr std::size_t kPbccConstraintLength = 7;
// Zero bits appended to the data so that the encoder ends in the all-zero state.
inline constexpr std::size_t kPbccTailBits = 8;

// Feed-forward convolutional encoder starting in the all-zero state, one output stream per
// generator, interleaved y1(1) y2(1) ... y1(2) y2(2) ...; nothing is emitted beyond the
// input. Throws ConfigError for no generators, a constraint length outside 1..32, or a
// generator that is not an octal numeral or has a tap at D^constraint_length or beyond.
Bits convolutional_encode(BitSpan data, std::size_t constraint_length, std::span<const unsigned> octal_generators);

// The first `count` bits of the cover sequence: the seed 0011001110001011, then for each
// further 16 bits the seed rotated left by 3 more places (period 256 bits).
Bits pbcc_cover_bits(std::size_t count);

// Maps coded bits to symbols relative to `reference`, a cover bit 1 turning the symbol by
// pi/2. 5.5 Mbit/s: 0 -> 1, 1 -> -1. 11 Mbit/s, pairs: 00 -> 1, 01 -> -j, 10 -> j, 11 -> -1.
// 22 and 33 Mbit/s, triples b1 b2 b3 (b1 least significant) index the 8-PSK points
// (1+j)z, (-1+j)z, (-1-j)z, (1-j)z, j, -1, -j, 1 (z = 1/sqrt 2), turned by pi/4 and divided
// (not multiplied) by the reference.
// Throws ConfigError for a rate without PBCC or coded bits that do not fill whole symbols.
Samples map_pbcc(BitSpan coded_bits, DataRate rate, Complex reference);

// With the encoder active: the bits and the zero tail, encoded and mapped (two coded bits
// per data bit); otherwise the bits mapped unchanged. Throws like map_pbcc.
Samples pbcc_modulate(BitSpan bits, DataRate rate, bool encoder_active, Complex reference);

// Symbols (chips) pbcc_modulate produces for bit_count data bits: the coded bits
// (2 (bit_count + 8) with the encoder, bit_count without) divided by 1, 2 or 3 coded bits
// per symbol at 5.5, 11 or 22 and 33 Mbit/s. Throws ConfigError where pbcc_modulate would.
std::size_t pbcc_chip_count(std::size_t bit_count, DataRate rate, bool encoder_active);

}  // namespace dot11b::phy
