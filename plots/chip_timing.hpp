#pragma once
// The symbol the eye and scatter views of a recording use: 802.11b chips run
// at 11 Mchip/s, and the eye spans the fewest whole chips (up to four) that
// hold a whole number of samples, since the views step in whole samples: one
// chip at oversampling 2 and 3, two chips at 2.5 and 3.5. At other rates it
// spans one chip rounded to whole samples (at least two).

namespace dot11b::cli {

struct ChipTiming {
    double samples_per_symbol;  // n of the eye and scatter views
    double chips_per_symbol;    // width of the eye on its time axis, in chips
};

ChipTiming chip_timing(double sample_rate_hz);

// The offset in samples for a symbol delay of 0..1.
double symbol_offset(const ChipTiming& timing, double symbol_delay);

}  // namespace dot11b::cli
