#pragma once
// Barker despreading and differential detection of the 1 and 2 Mbit/s DSSS
// symbols (IEEE 802.11-2016 clause 16: DBPSK and DQPSK).

#include <cstddef>

#include "common/types.hpp"

namespace dot11b::analyzer {

// Symbols from `count` groups of 11 chips starting at chips[first]: each the
// correlation with the Barker sequence, divided by 11. Groups past the end of
// the chips are left out.
Samples despread(SampleSpan chips, std::size_t first, std::size_t count);

// The 11 chips of a symbol: the Barker sequence times the symbol.
void append_spread(Complex symbol, Samples& chips);

struct DifferentialSymbols {
    Bits bits;
    // The ideal symbols: `ideal_reference` turned by each decided phase change.
    Samples ideal;
};

// DBPSK (one bit per symbol: 0 keeps the phase, 1 turns it by pi) or DQPSK
// (two bits per symbol, first bit first: 00 keeps it, 01 turns by +pi/2, 11 by
// pi, 10 by -pi/2). Each symbol is compared with the one received before it,
// `reference` for the first.
DifferentialSymbols detect_differential(SampleSpan symbols, Complex reference, Complex ideal_reference,
                                        bool two_bits_per_symbol);

}  // namespace dot11b::analyzer
