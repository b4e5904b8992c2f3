#pragma once
// CCK demodulation at 5.5 and 11 Mbit/s (IEEE 802.11-2016 clause 17): each
// 8-chip symbol is matched against every code word of phi1 = 0; the best match
// gives the bits of phi2..phi4 and its phase gives phi1, whose change from the
// previous symbol (less pi on every second symbol) carries the first two bits.

#include "common/types.hpp"

namespace dot11b::analyzer {

struct CckSymbols {
    Bits bits;
    Samples ideal_chips;  // the code words of the decided bits
};

// `reference` is the last header symbol as received, `ideal_reference` its ideal
// value; demodulates every whole symbol of `chips`.
CckSymbols demodulate_cck(SampleSpan chips, bool eleven_mbps, Complex reference, Complex ideal_reference);

}  // namespace dot11b::analyzer
