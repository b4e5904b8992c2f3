#pragma once
// Transmit spectrum and its mask (IEEE 802.11-2016 clauses 16 and 17): with a
// 100 kHz resolution bandwidth, below -30 dBr from 11 to 22 MHz off the carrier
// and below -50 dBr beyond 22 MHz, relative to the spectrum's peak.

#include <limits>
#include <vector>

#include "common/types.hpp"

namespace dot11b::analyzer {

struct Spectrum {
    std::vector<double> frequency_hz;  // ascending, 0 at the carrier
    std::vector<double> level_dbr;     // relative to the peak
    double resolution_bandwidth_hz = 0;
};

struct MaskSegment {
    double from_hz = 0;
    double to_hz = 0;
    double limit_dbr = 0;
};

struct MaskCheck {
    std::vector<MaskSegment> limits;  // the parts of the mask the sample rate covers
    double covered_hz = 0;            // the recording covers +-covered_hz
    double worst_margin_db = std::numeric_limits<double>::infinity();
    double worst_frequency_hz = 0;
    bool checked() const { return !limits.empty(); }
    bool passed() const { return worst_margin_db >= 0; }
};

// Welch's averaged periodogram with a Hann window sized for a 100 kHz resolution
// bandwidth (1.5 bins), over at most 256 segments spread across the samples.
Spectrum power_spectrum(SampleSpan samples, double sample_rate_hz);

// The parts of the mask within +-fs/2, ascending.
std::vector<MaskSegment> mask_limits(double sample_rate_hz);

// The mask limits within +-fs/2 and the smallest margin of the spectrum below them.
MaskCheck check_mask(const Spectrum& spectrum, double sample_rate_hz);

}  // namespace dot11b::analyzer
