#pragma once
// The symbol the eye and scatter views of a recording use: 802.11b chips run
// at 11 Mchip/s, and the eye spans the fewest whole chips (up to four) that
// hold a whole number of samples, since the views step in whole samples: one
// chip at oversampling 2 and 3, two chips at 2.5 and 3.5. At other rates it
// spans one chip rounded to whole samples (at least two).

#include "common/types.hpp"
#include "plots/eye_diagram.hpp"

namespace dot11b::plots {

struct ChipTiming {
    double samples_per_symbol;  // n of the eye and scatter views
    double chips_per_symbol;    // width of the eye on its time axis, in chips
};

ChipTiming chip_timing(double sample_rate_hz);
// The same for a waveform of `samples_per_chip` samples a chip (its oversampling).
ChipTiming chip_timing_at_oversampling(double samples_per_chip);

// The offset in samples for a symbol delay of 0..1.
double symbol_offset(const ChipTiming& timing, double symbol_delay);

// The eye diagram of a recording's I and Q over its chip timing, the symbols
// delayed by `symbol_delay` (0 to 1) of a symbol. Throws ConfigError naming
// the delay when it is outside that range.
EyeDiagram chip_eye_diagram(SampleSpan samples, double sample_rate_hz, double symbol_delay);

}  // namespace dot11b::plots
