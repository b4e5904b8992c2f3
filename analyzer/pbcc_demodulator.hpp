#pragma once
// PBCC demodulation at 5.5 (BPSK) and 11 Mbit/s (QPSK) (IEEE 802.11-2016
// clause 17): coherent symbols referred to the last header chip, the cover
// sequence removed, the residual phase tracked from the decisions, and the
// code decoded by the Viterbi algorithm.

#include <cstddef>

#include "common/types.hpp"

namespace dot11b::analyzer {

struct PbccSymbols {
    Bits bits;            // the data bits, tail removed
    Samples ideal_chips;  // the symbols of the decided bits
    bool coded = true;    // false: the symbols carried the bits without the code
};

// Symbol k relative to the reference, less the cover rotation (a cover bit 1 turns
// it by pi/2), carries at 5.5 Mbit/s one coded bit (0 -> 1, 1 -> -1) and at 11
// Mbit/s two (00 -> 1, 01 -> -j, 10 -> j, 11 -> -1).
// `reference` is the last header chip as received, `ideal_reference` its ideal
// value. Decodes `data_bits` bits through the code; when the chips end (or lose
// their power) where the uncoded symbols would, the bits are taken uncoded.
PbccSymbols demodulate_pbcc(SampleSpan chips, bool eleven_mbps, std::size_t data_bits, Complex reference,
                            Complex ideal_reference);

// The first `count` bits of the cover sequence.
Bits pbcc_cover(std::size_t count);

}  // namespace dot11b::analyzer
