#pragma once
// Complementary code keying of IEEE 802.11b-1999 (clause 18.4.6.5): one 8-chip
// complex code word per 4 bits at 5.5 Mbit/s or per 8 bits at 11 Mbit/s.

#include <array>
#include <cstddef>
#include <vector>

#include "common/types.hpp"
#include "phy/data_rate.hpp"

namespace dot11b::phy {

inline constexpr std::size_t kCckChipsPerCodeword = 8;
using CckCodeword = std::array<Complex, kCckChipsPerCodeword>;

// The code word for phases phi1..phi4 (radians), chip c0 first, with e(x) = exp(jx):
// e(p1+p2+p3+p4), e(p1+p3+p4), e(p1+p2+p4), -e(p1+p4), e(p1+p2+p3), e(p1+p3), -e(p1+p2), e(p1).
CckCodeword cck_codeword(double phi1, double phi2, double phi3, double phi4);

// phi1 of each symbol from the bit pairs (d0[i], d1[i]): the previous phi1 (initial_phase
// before the first symbol) plus 0, pi/2, pi or -pi/2 for 00, 01, 11 or 10, plus pi on the
// 2nd, 4th, ... symbol. The phases are not wrapped. Throws ConfigError when d0 and d1
// differ in length.
std::vector<double> cck_dqpsk(BitSpan d0, BitSpan d1, double initial_phase);

// 5.5 Mbit/s: bits d0..d3 of each symbol give phi1 from (d0, d1), phi2 = d2*pi + pi/2,
// phi3 = 0, phi4 = d3*pi. Only the angle of `reference` counts: it is phi1 before the
// first symbol. Throws ConfigError unless the bit count is a multiple of 4.
Samples cck5(BitSpan bits, Complex reference);

// 11 Mbit/s: bits d0..d7 of each symbol give phi1 from (d0, d1) and phi2, phi3, phi4
// from (d2, d3), (d4, d5), (d6, d7) with 00 -> 0, 01 -> pi/2, 10 -> pi, 11 -> 3pi/2.
// Throws ConfigError unless the bit count is a multiple of 8.
Samples cck11(BitSpan bits, Complex reference);

// cck5 or cck11 by rate; throws ConfigError for a rate without a CCK mode.
Samples cck_modulate(BitSpan bits, DataRate rate, Complex reference);

// Chips cck_modulate produces for bit_count bits: 2 per bit at 5.5 Mbit/s, 1 per bit at
// 11 Mbit/s. Throws ConfigError where cck_modulate would.
std::size_t cck_chip_count(std::size_t bit_count, DataRate rate);

}  // namespace dot11b::phy
