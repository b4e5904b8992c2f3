#pragma once
// The chips behind the EVM figure, one by one: each received chip with the
// fit's corrections removed, its ideal point, and the magnitude of the error
// between them. The constellation and the EVM-against-chip views draw these.

#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

struct ChipErrors {
    Samples received;           // scaled so that an ideal chip has magnitude 1
    Samples ideal;              // the decided chips, magnitude 1
    std::vector<double> error;  // |received - ideal|, relative to the ideal chip magnitude
};

// `received` and `ideal` hold the same chips, carrier offset already removed;
// the longer one is cut to the shorter. Chips that fit no gain (no signal, or
// no ideal chip varies) are all reported with an error of 1.
ChipErrors chip_errors(SampleSpan received, SampleSpan ideal);

// The chips of an error vector measurement: `errors` already scaled to the
// ideal magnitude, so that their RMS is the reported EVM. Each received chip
// is drawn as its ideal point plus its error.
ChipErrors chip_errors_of_errors(SampleSpan ideal, SampleSpan errors);

}  // namespace dot11b::analyzer
