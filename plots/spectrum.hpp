#pragma once
// The magnitude spectrum of a whole waveform, normalised to 0 dB at its peak,
// over the span the sample rate sets.

#include <string>
#include <vector>

#include "common/types.hpp"
#include "plots/axis_range.hpp"

namespace dot11b::plots {

struct Spectrum {
    std::vector<double> frequency;     // in frequency_units, ascending
    std::vector<double> magnitude_db;  // dB below the peak bin
    std::string frequency_units;       // "Hz", "kHz", "MHz" or "GHz"
    AxisRange x;                       // -fMax .. fMax
    AxisRange y;                       // at most 100 dB, in steps of 10 dB
};

// An empty waveform gives the ten-value test shape instead of a transform.
Spectrum magnitude_spectrum(SampleSpan iq_wave, double sample_rate_hz);

}  // namespace dot11b::plots
