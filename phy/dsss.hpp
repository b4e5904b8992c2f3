#pragma once
// DSSS modulation of IEEE 802.11b-1999 (clause 18.4.6.3): DBPSK at 1 Mbit/s and
// DQPSK at 2 Mbit/s, spread with the 11-chip Barker sequence.

#include <array>

#include "common/types.hpp"

namespace dot11b::phy {

// Barker sequence, first chip first.
inline constexpr std::array<double, 11> kBarker = {1, -1, 1, 1, -1, 1, 1, 1, -1, -1, -1};

// One symbol per bit: bit 0 keeps the phase, bit 1 turns it by pi.
// `reference` is the symbol before the first new one.
Samples dbpsk(BitSpan bits, Complex reference);

// One symbol per bit pair (first, second): 00 -> 0, 01 -> +pi/2, 11 -> pi, 10 -> -pi/2.
// Throws ConfigError for an odd number of bits.
Samples dqpsk(BitSpan bits, Complex reference);

// 11 chips per symbol: the Barker sequence times the symbol.
Samples barker_spread(SampleSpan symbols);
void append_barker_spread(SampleSpan symbols, Samples& chips);

struct DsssChips {
    Samples chips;
    Complex last_phase;  // the last symbol before spreading (the reference when there is none)
};

DsssChips modulate_1mbps(BitSpan bits, Complex reference);
DsssChips modulate_2mbps(BitSpan bits, Complex reference);

}  // namespace dot11b::phy
