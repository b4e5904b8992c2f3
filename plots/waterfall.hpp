#pragma once
// A spectrum waterfall: the waveform cut into consecutive snapshots of one
// period each, and the log-magnitude spectrum of every Hann-windowed snapshot.

#include <cstddef>
#include <string>
#include <vector>

#include "common/types.hpp"
#include "plots/axis_range.hpp"

namespace dot11b::plots {

struct Waterfall {
    std::size_t bins = 0;            // frequency points per snapshot (samples per snapshot)
    std::size_t snapshots = 0;
    std::vector<double> frequency;   // centre of each bin, in frequency_units: -floor(bins/2) .. ceil(bins/2) - 1 bin widths
    std::vector<double> time;        // start of each snapshot, in time_units
    std::string frequency_units;
    std::string time_units;
    std::vector<double> magnitude_db;  // [snapshot * bins + bin], dB below the strongest bin of all
    AxisRange x;                     // frequency
    AxisRange y;                     // time, from 0 to the end of the last snapshot
    AxisRange z;                     // colour range: at most 100 dB, multiples of 10 dB
};

// A sample rate that is not positive becomes 1 Hz. A period below ten samples
// becomes ten samples, one longer than the waveform becomes the waveform's length. The
// last snapshot is completed with zeros; an empty waveform is one snapshot of zeros.
Waterfall waterfall(SampleSpan iq_wave, double sample_rate_hz, double period_s);

}  // namespace dot11b::plots
